function test_demo()
  % The demo at its quick size checks its own known answers; no figures.
  here = fileparts(mfilename('fullpath'));
  addpath(fullfile(here, '..', '..', 'demo'));
  out = bayesmex_demo(3, 'quick', '');
  s = out.samplers.rows;
  for k = 1:rows(s)
    assert(abs(s{k, 2} - s{k, 3}) < 0.05 * max(1, abs(s{k, 3})), 'sampler mean: %s', s{k, 1});
  end
  assert(out.samplers.max_sum_error < 1e-12);
  f = out.filter;
  assert(all(isfinite(f.loglik)), 'filter log-likelihood not finite');
  assert(max(f.loglik) - min(f.loglik) < 10, 'schemes disagree on the log-likelihood');
  assert(all(f.rmse < f.truth_sd), 'filter no better than the prior');
  g = out.gibbs;
  assert(g.theta_err < 0.1, 'Gibbs theta means off by %g', g.theta_err);
  assert(abs(g.sigma2 - g.sigma2_ref) < 0.05 * g.sigma2_ref, 'Gibbs sigma2 %g vs %g', g.sigma2, g.sigma2_ref);
  b = out.bootstrap;
  assert(abs(b.mean(1) - b.mean(2)) < 4 * b.mean_sd(2) / sqrt(30), 'bootstrap mean');
  assert(abs(b.mean_sd(1) / b.mean_sd(2) - 1) < 0.15, 'bootstrap sd');
  assert(out.metric.distance_error < 1e-12);
  assert(out.metric.gp_rmse < 0.1);
end
