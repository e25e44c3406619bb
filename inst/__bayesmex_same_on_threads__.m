function __bayesmex_same_on_threads__(f, what)
  % __bayesmex_same_on_threads__(F, WHAT): F() gives the same bits on three
  % threads as on one (BAYESMEX_THREADS, read at every call).  Internal to
  % the tests.
  bits = @(v) typecast(v(:), 'uint64');
  unwind_protect
    setenv('BAYESMEX_THREADS', '1');
    ref = bits(f());
    setenv('BAYESMEX_THREADS', '3');
    assert(isequal(bits(f()), ref), sprintf('%s: three threads differ from one', what));
  unwind_protect_cleanup
    unsetenv('BAYESMEX_THREADS');
  end_unwind_protect
end
