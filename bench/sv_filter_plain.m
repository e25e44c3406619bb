function [ll, est] = sv_filter_plain(y, N)
  % sv_filter_bayesmex in plain vectorised Octave, as a user writes it: the
  % weights, effective sample size and log-likelihood increment from the
  % log-weights, and systematic resampling by lookup on the cumulative sum.
  % It draws the same randn blocks and the same one uniform per step in the
  % same order, and particles_weights and particles_systematic compute
  % what this code computes (the sums left to right), so from the same
  % generator states the two give the same ll bit for bit.
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
    mx = max(lw);
    e = exp(lw - mx);
    se = sum(e);
    w = e / se;
    ess = 1 / sum(w.^2);
    inc = mx + log(se / N);
    ll = ll + inc;
    est(t) = w' * p;
    p = p(min(lookup(N * cumsum(w) / sum(w), (0:N-1)' + rand) + 1, N));
  end
end
