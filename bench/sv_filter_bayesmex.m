function [ll, est] = sv_filter_bayesmex(y, N)
  % The demo's bootstrap particle filter (bayesmex_demo, demo_particle_filter)
  % for its stochastic-volatility model with Student-t noise,
  %   x(t) = m + phi (x(t-1) - m) + s eta(t),   y(t) = exp(x(t)/2) e(t),  e ~ t(nu),
  % with systematic resampling: particles_weights and particles_systematic.
  % ll is the log-likelihood estimate, est(t) the filtered mean of x(t).
  % sv_filter_plain is the same filter in plain Octave, drawing the same
  % values in the same order.
  m = -1; phi = 0.97; s = 0.4; nu = 5;
  T = numel(y);
  logc = gammaln((nu + 1) / 2) - gammaln(nu / 2) - 0.5 * log(nu * pi);
  est = zeros(T, 1);
  p = m + s / sqrt(1 - phi^2) * randn(N, 1);
  ll = 0;
  for t = 1:T
    if t > 1, p = m + phi * (p - m) + s * randn(N, 1); end
    z = y(t) * exp(-p / 2);
    lw = logc - (nu + 1) / 2 * log1p(z.^2 / nu) - p / 2;
    [w, ess, inc] = particles_weights(lw);
    ll = ll + inc;
    est(t) = w' * p;
    p = p(particles_systematic(w, N, 1));
  end
end
