function __bayesmex_at_every_width__(body)
  % __bayesmex_at_every_width__(BODY): BODY(W) at every lane width W the
  % modules can be forced to run ('1', '2', '4', '8' through BAYESMEX_SIMD,
  % read at every call; a width the CPU lacks runs the widest it has), then
  % the automatic choice again.  Internal to the tests.
  unwind_protect
    for w = {'1', '2', '4', '8'}
      setenv('BAYESMEX_SIMD', w{1});
      body(w{1});
    end
  unwind_protect_cleanup
    unsetenv('BAYESMEX_SIMD');
  end_unwind_protect
end
