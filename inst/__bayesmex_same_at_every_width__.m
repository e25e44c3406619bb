function __bayesmex_same_at_every_width__(f, what)
  % __bayesmex_same_at_every_width__(F, WHAT): F() gives the same bits at
  % every lane width as at width 1, the plain loop.  Internal to the tests.
  bits = @(v) typecast(v(:), 'uint64');
  setenv('BAYESMEX_SIMD', '1');
  ref = bits(f());
  __bayesmex_at_every_width__(@(w) assert(isequal(bits(f()), ref), ...
                                          sprintf('%s: width %s differs from the plain loop', what, w)));
end
