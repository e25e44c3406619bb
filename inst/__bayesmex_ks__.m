function __bayesmex_ks__(F, what)
  % __bayesmex_ks__(F, WHAT): Kolmogorov-Smirnov check that the values F of
  % the law's distribution function at a sample are uniform on (0, 1).  The
  % critical value 1.95/sqrt(n) has a false-alarm rate about 1e-3; the tests
  % use fixed seeds, so a case either always passes or always fails.
  % Internal to the tests.
  n = numel(F); F = sort(F(:));
  D = max(max((1:n)' / n - F), max(F - (0:n-1)' / n));
  if !(D < 1.95 / sqrt(n))
    error('KS D = %g, above %g, for %s', D, 1.95 / sqrt(n), what);
  end
end
