function same_at_every_width(f, what)
  % f() gives the same bits at every lane width as at width 1 (the plain
  % loop); BAYESMEX_SIMD is read by the modules at every call.
  bits = @(v) typecast(v(:), 'uint64');
  unwind_protect
    setenv('BAYESMEX_SIMD', '1');
    ref = bits(f());
    for w = simd_widths()
      setenv('BAYESMEX_SIMD', w{1});
      assert(isequal(bits(f()), ref), sprintf('%s: width %s differs from the plain loop', what, w{1}));
    end
  unwind_protect_cleanup
    unsetenv('BAYESMEX_SIMD');
  end_unwind_protect
end
