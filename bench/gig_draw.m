function x = gig_draw(lambda, chi, psi)
  % One draw from the generalized inverse Gaussian law GIG(lambda, chi, psi),
  % density proportional to x^(lambda-1) exp(-(chi/x + psi x)/2), chi, psi > 0:
  % the m-code a user writes for the Gibbs sampler's tau2 (lambda = alpha - J/2,
  % -2 in the demo, with sqrt(chi psi) mostly well above 1).  Ratio of
  % uniforms with mode shift and the minimal bounding rectangle (Dagpunar;
  % Lehner; Hormann and Leydold, 2014), on the standard law of
  % x / sqrt(chi/psi) with parameter |lambda|: for lambda < 0 the draw is the
  % reciprocal of one with -lambda.  Efficient for |lambda| >= 1 or
  % sqrt(chi psi) >= 1, the demo's case; correct for every lambda.
  lam = abs(lambda);
  b = sqrt(chi * psi);
  % Mode of g(x) = x^(lam-1) exp(-b/2 (x + 1/x)); h(x) = log sqrt(g(x)/g(mode)).
  mo = b / ((1 - lam) + sqrt((1 - lam)^2 + b^2));
  hm = (lam - 1) / 2 * log(mo) - b / 4 * (mo + 1 / mo);
  % The extremes of (x - mo) sqrt(g(x)): the outer roots of a cubic.
  a2 = -(2 * (lam + 1) / b + mo); a1 = 2 * (lam - 1) * mo / b - 1; a0 = mo;
  p = a1 - a2^2 / 3; q = 2 * a2^3 / 27 - a2 * a1 / 3 + a0;
  phi = acos(-q / 2 * sqrt(-27 / p^3));
  r = 2 * sqrt(-p / 3);
  xp = r * cos(phi / 3) - a2 / 3;
  xm = r * cos(phi / 3 + 4 * pi / 3) - a2 / 3;
  up = (xp - mo) * exp((lam - 1) / 2 * log(xp) - b / 4 * (xp + 1 / xp) - hm);
  um = (xm - mo) * exp((lam - 1) / 2 * log(xm) - b / 4 * (xm + 1 / xm) - hm);
  do
    u = um + (up - um) * rand();
    v = rand();
    x = u / v + mo;
  until x > 0 && log(v) <= (lam - 1) / 2 * log(x) - b / 4 * (x + 1 / x) - hm
  if lambda < 0
    x = sqrt(chi / psi) / x;
  else
    x = sqrt(chi / psi) * x;
  end
end
