function out = bayesmex_demo(seed, size_name, figdir)
  % BAYESMEX_DEMO  Demonstration of every bayesmex function, with known answers.
  %
  %   bayesmex_demo
  %   bayesmex_demo(SEED)
  %   bayesmex_demo(SEED, SIZE)
  %   bayesmex_demo(SEED, SIZE, FIGDIR)
  %   OUT = bayesmex_demo(...)
  %
  %   Draws from every sampler against its exact law, runs a bootstrap
  %   particle filter for a stochastic-volatility model under each of the
  %   four resampling schemes, a Gibbs sampler for a hierarchical normal
  %   model against the analytic posterior means, a Bayesian bootstrap of a
  %   mean and two percentiles, and Gaussian-process regression on
  %   metric_pairwise distances; prints each answer beside the exact one and
  %   draws a figure for each part.
  %
  %   SEED    seeds rand and randn (default 1).  Every draw of every bayesmex
  %           function comes from them, so a seed reproduces the whole run.
  %   SIZE    'full' (the default) or 'quick' (a smaller run of each part).
  %   FIGDIR  folder that receives the figures samplers.png,
  %           particle_filter.png, gibbs.png, bootstrap.png and
  %           gp_regression.png (made if missing): the current folder when
  %           omitted; none are drawn when FIGDIR is ''.  Drawing needs
  %           gnuplot.
  %
  %   OUT holds the figures of merit that the tests check: sampler moments
  %   against their exact values, the particle filter's log-likelihood and
  %   error for each resampling scheme, the Gibbs posterior means against
  %   the analytic ones, bootstrap summaries and the distance check.
  %
  %   Example
  %     bayesmex_demo(1, 'quick', tempdir)    % figures in the temporary folder
  %     out = bayesmex_demo(2, 'quick', '');  % no figures
  %     out.filter.loglik                     % one log-likelihood per scheme
  %
  %   See also meanshape_draw, hyperscale_draw1, particles_stratified,
  %   weightboot_quantile, metric_pairwise.
  if nargin < 1 || isempty(seed), seed = 1; end
  if nargin < 2 || isempty(size_name), size_name = 'full'; end
  if nargin < 3, figdir = pwd(); end
  if !any(strcmp(size_name, {'full', 'quick'}))
    error('bayesmex_demo: SIZE must be ''full'' or ''quick''.');
  end
  quick = strcmp(size_name, 'quick');
  draw = !isempty(figdir);
  if draw
    if isempty(file_in_path(getenv('PATH'), gnuplot_binary()))
      error('bayesmex_demo: the figures need gnuplot (FIGDIR '''' draws none).');
    end
    % The figures are gnuplot's, which prints without a display; its notice
    % that the toolkit is not maintained is silenced for this call only, and
    % so is Octave 11's notice that its own mkdir, figure and print code
    % joins single- and double-quoted strings (Octave:mixed-string-concat).
    restore_warning = [warning('off', 'Octave:gnuplot-graphics'), ...
                       warning('off', 'Octave:mixed-string-concat')];
    cleanup = onCleanup(@() warning(restore_warning));
    if !exist(figdir, 'dir'), mkdir(figdir); end
  end
  rand('state', seed); randn('state', seed);
  printf('bayesmex demo: seed %d, %s size\n', seed, size_name);

  out.samplers = demo_samplers(quick, draw, figdir);
  out.filter = demo_particle_filter(quick, draw, figdir);
  out.gibbs = demo_gibbs(quick, draw, figdir);
  out.bootstrap = demo_bootstrap(quick, draw, figdir);
  out.metric = demo_metric(quick, draw, figdir);
  if draw, printf('figures written to %s\n', figdir); end
end

% ---------------------------------------------------------------------------
function r = demo_samplers(quick, draw, figdir)
  % Each sampler's draws against the exact law: sample moments and a
  % histogram over the density.
  n = ifelse(quick, 2e4, 2e5);
  mu = 2; nu = 5; s2 = 1.5; nut = 5; nuc = 6;
  g = meanshape_draw(mu, nu, n, 1);
  c = invchisq_draw(s2, nuc, n, 1);
  t = studentt_draw(nut, n, 1);
  e = exponential_draw(mu, n, 1);
  d = simplex_draw(4, n);
  % Generalized inverse Gaussian: lambda = (c e - b)/2, chi = a b, psi = c e / d.
  ga = [1 2 3 2 1]; lam = (ga(3) * ga(5) - ga(2)) / 2; chi = ga(1) * ga(2);
  psi = ga(3) * ga(5) / ga(4);
  m = ifelse(quick, 2000, 20000);
  y = zeros(m, 1);
  for k = 1:m, y(k) = hyperscale_draw1(ga(1), ga(2), ga(3), ga(4), ga(5)); end
  w = sqrt(chi * psi);
  gig_mean = sqrt(chi / psi) * besselk(lam + 1, w) / besselk(lam, w);

  r.rows = { ...
    'meanshape_draw(2, 5)', mean(g), mu, var(g), 2 * mu^2 / nu;
    'invchisq_draw(1.5, 6)', mean(c), nuc * s2 / (nuc - 2), var(c), 2 * nuc^2 * s2^2 / ((nuc - 2)^2 * (nuc - 4));
    'studentt_draw(5)', mean(t), 0, var(t), nut / (nut - 2);
    'exponential_draw(2)', mean(e), mu, var(e), mu^2;
    'simplex_draw(4): first', mean(d(1, :)), 1/4, var(d(1, :)), 3 / (16 * 5);
    'hyperscale_draw1 (GIG)', mean(y), gig_mean, NaN, NaN};
  printf('\n%-26s %10s %10s %10s %10s\n', 'sampler', 'mean', 'exact', 'variance', 'exact');
  for k = 1:rows(r.rows)
    printf('%-26s %10.4f %10.4f %10.4f %10.4f\n', r.rows{k, :});
  end
  r.max_sum_error = max(abs(sum(d, 1) - 1));
  printf('simplex_draw: largest |column sum - 1| = %.2g\n', r.max_sum_error);

  if draw
    f = new_figure();
    subplot(2, 3, 1); hist_density(g, @(x) gamma_pdf(x, nu / 2, 2 * mu / nu), [0 8], 'meanshape_draw(2, 5)');
    subplot(2, 3, 2); hist_density(c, @(x) invchisq_pdf(x, nuc, s2), [0 8], 'invchisq_draw(1.5, 6)');
    subplot(2, 3, 3); hist_density(t, @(x) t_pdf(x, nut), [-6 6], 'studentt_draw(5)');
    subplot(2, 3, 4); hist_density(e, @(x) exp(-x / mu) / mu, [0 12], 'exponential_draw(2)');
    subplot(2, 3, 5); hist_density(d(1, :)', @(x) 3 * (1 - x).^2, [0 1], 'simplex_draw(4), first');
    subplot(2, 3, 6);
    hist_density(y, @(x) x.^(lam - 1) .* exp(-(chi ./ x + psi * x) / 2) / ...
                 (2 * (chi / psi)^(lam / 2) * besselk(lam, w)), [0 4], 'hyperscale_draw1');
    save_png(f, fullfile(figdir, 'samplers.png'), '1200,700');
    close(f);
  end
end

function p = gamma_pdf(x, k, theta)
  p = exp((k - 1) * log(x) - x / theta - gammaln(k) - k * log(theta));
end

function p = t_pdf(x, nu)
  p = exp(gammaln((nu + 1) / 2) - gammaln(nu / 2)) / sqrt(nu * pi) * (1 + x.^2 / nu).^(-(nu + 1) / 2);
end

function p = invchisq_pdf(x, nu, s2)
  h = nu / 2;
  p = (h * s2)^h / gamma(h) * x.^(-h - 1) .* exp(-nu * s2 ./ (2 * x));
end

function hist_density(x, pdf, lim, name)
  total = numel(x);
  x = x(x >= lim(1) & x <= lim(2));
  edges = linspace(lim(1), lim(2), 41);
  counts = histc(x, edges);
  width = edges(2) - edges(1);
  bar(edges(1:end-1) + width / 2, counts(1:end-1) / (total * width), 1, ...
      'facecolor', [0.75 0.82 0.95], 'edgecolor', [0.55 0.62 0.8]);
  hold on;
  xx = linspace(lim(1), lim(2), 400);
  plot(xx, pdf(xx), 'r', 'linewidth', 2);
  hold off;
  title(name, 'interpreter', 'none'); xlim(lim);
end

% ---------------------------------------------------------------------------
function r = demo_particle_filter(quick, draw, figdir)
  % Stochastic volatility with Student-t observation noise:
  %   x(t) = m + phi (x(t-1) - m) + s eta(t),   y(t) = exp(x(t)/2) e(t),  e ~ t(nu).
  % A bootstrap particle filter under each resampling scheme.
  T = ifelse(quick, 60, 250); N = ifelse(quick, 300, 2000);
  m = -1; phi = 0.97; s = 0.4; nu = 5;
  x = zeros(T, 1); x(1) = m + s / sqrt(1 - phi^2) * randn();
  for t = 2:T, x(t) = m + phi * (x(t - 1) - m) + s * randn(); end
  y = exp(x / 2) .* studentt_draw(nu, T, 1);

  schemes = {'particles_multinomial', 'particles_residual', 'particles_stratified', ...
             'particles_deterministic', 'particles_systematic'};
  K = numel(schemes);
  printf('\nparticle filter, %d steps, %d particles\n', T, N);
  printf('%-26s %14s %10s %10s\n', 'resampling', 'log-likelihood', 'mean ESS', 'RMSE');
  r.loglik = zeros(1, K); r.rmse = zeros(1, K); r.ess = zeros(1, K);
  est = zeros(T, K);
  logc = gammaln((nu + 1) / 2) - gammaln(nu / 2) - 0.5 * log(nu * pi);
  for k = 1:K
    resample = str2func(schemes{k});
    p = m + s / sqrt(1 - phi^2) * randn(N, 1);
    ll = 0; ess = 0;
    for t = 1:T
      if t > 1, p = m + phi * (p - m) + s * randn(N, 1); end
      z = y(t) * exp(-p / 2);
      lw = logc - (nu + 1) / 2 * log1p(z.^2 / nu) - p / 2;
      [w, ess_t, inc] = particles_weights(lw);
      ll = ll + inc;
      est(t, k) = w' * p;
      ess = ess + ess_t;
      p = p(resample(w, N, 1));
    end
    r.loglik(k) = ll; r.ess(k) = ess / T;
    r.rmse(k) = sqrt(mean((est(:, k) - x).^2));
    printf('%-26s %14.3f %10.1f %10.4f\n', schemes{k}, ll, r.ess(k), r.rmse(k));
  end
  r.truth_sd = std(x);
  printf('(the log-volatility itself has standard deviation %.4f)\n', r.truth_sd);
  if draw
    f = new_figure();
    plot(1:T, x, 'k', 'linewidth', 1.5); hold on;
    plot(1:T, est(:, 3), 'r', 1:T, est(:, 1), 'b--');
    hold off;
    legend('log-volatility (simulated truth)', 'filtered mean, stratified', ...
           'filtered mean, multinomial', 'location', 'southoutside');
    xlabel('t'); title(sprintf('Bootstrap particle filter, %d particles', N));
    save_png(f, fullfile(figdir, 'particle_filter.png'), '1000,560');
    close(f);
  end
end

% ---------------------------------------------------------------------------
function r = demo_gibbs(quick, draw, figdir)
  % Hierarchical normal model with J groups:
  %   y(i, j) ~ N(theta(j), sigma2),  theta(j) ~ N(mu, tau2),  mu flat,
  %   sigma2 ~ scaled Inv-chi2(nu0, s0^2),  tau2 ~ Gamma(alpha, rate beta),
  %   beta ~ Gamma(a0, rate b0).
  % The sampler is bayesmex_gibbs (its own file, so that chains of it can run
  % on other processes: see bayesmex_chains_demo).
  J = 8; n = ifelse(quick, 40, 200); iters = ifelse(quick, 1500, 6000); burn = iters / 5;
  theta_true = [-2 -1 -0.5 0 0.3 1 1.5 2.5]'; sigma_true = 1.2;
  data = theta_true' + sigma_true * randn(n, J);
  nu0 = 2; s0 = 1;  % bayesmex_gibbs's prior on sigma2
  ybar = mean(data)'; sse_within = sum(sum((data - ybar').^2));

  keep = bayesmex_gibbs(data, iters, burn);
  nun = nu0 + n * J;
  post = mean(keep);
  r.theta = post(1:J)'; r.sigma2 = post(J + 2); r.tau2 = post(J + 3);
  % Analytic values the posterior means approach: with n observations per
  % group the shrinkage of theta(j) toward mu is sigma2/(n tau2) small, so
  % E[theta(j) | y] ~ ybar(j); E[sigma2 | y] ~ (nu0 s0^2 + SSE_within + J sigma2) / (nu0 + nJ - 2).
  r.theta_ref = ybar;
  r.sigma2_ref = (nu0 * s0^2 + sse_within + J * r.sigma2) / (nun - 2);
  r.theta_err = max(abs(r.theta - r.theta_ref));
  printf('\nGibbs sampler, %d groups of %d, %d iterations\n', J, n, iters);
  printf('  max |E[theta(j)|y] - ybar(j)| = %.4f (posterior sd about %.3f)\n', r.theta_err, ...
         sqrt(r.sigma2 / n));
  printf('  E[sigma2|y] = %.4f, analytic %.4f, true %.4f\n', r.sigma2, r.sigma2_ref, sigma_true^2);
  printf('  E[tau2|y] = %.4f (spread of the true group means %.4f)\n', r.tau2, var(theta_true));
  if draw
    f = new_figure();
    subplot(1, 2, 1); plot(keep(:, J + 2)); title('sigma2 trace', 'interpreter', 'none'); xlabel('iteration');
    subplot(1, 2, 2);
    [cnt, ctr] = hist(keep(:, J + 3), 40); bar(ctr, cnt / (sum(cnt) * (ctr(2) - ctr(1))), 1);
    title('tau2 posterior (hyperscale_draw1)', 'interpreter', 'none');
    save_png(f, fullfile(figdir, 'gibbs.png'), '1000,420');
    close(f);
  end
end

% ---------------------------------------------------------------------------
function r = demo_bootstrap(quick, draw, figdir)
  % Bayesian bootstrap of a mean, the median and the 90th percentile.
  n = 300; B = ifelse(quick, 1000, 4000);
  x = sort(exponential_draw(3, n, 1));
  means = weightboot_average(x, B);
  pct = weightboot_quantile(x, [50 90], B);
  r.mean = [mean(means), mean(x)];
  r.mean_sd = [std(means), std(x) / sqrt(n)];
  r.median = [mean(pct(:, 1)), median(x)];
  r.p90 = [mean(pct(:, 2)), quantile(x, 0.9)];
  printf('\nBayesian bootstrap, n = %d, B = %d\n', n, B);
  printf('  mean:   %.4f (sample %.4f), sd %.4f (s/sqrt(n) %.4f)\n', r.mean, r.mean_sd);
  printf('  median: %.4f (sample %.4f)\n', r.median);
  printf('  p90:    %.4f (sample %.4f)\n', r.p90);
  if draw
    f = new_figure();
    subplot(1, 3, 1); hist(means, 40); title('mean');
    subplot(1, 3, 2); hist(pct(:, 1), 40); title('median');
    subplot(1, 3, 3); hist(pct(:, 2), 40); title('90th percentile');
    save_png(f, fullfile(figdir, 'bootstrap.png'), '1000,380');
    close(f);
  end
end

% ---------------------------------------------------------------------------
function r = demo_metric(quick, draw, figdir)
  % A distance matrix under a metric structure feeding a squared-exponential
  % Gaussian-process covariance: GP regression of a smooth function.
  m = ifelse(quick, 60, 200);
  x = sort(10 * rand(m, 1)); grp = double(rand(m, 1) < 0.5);
  f = sin(x) + 0.5 * grp;
  yobs = f + 0.1 * randn(m, 1);
  metric = struct('type', 'metric_euclidean', 'lengthScale', [1.2 2], ...
                  'components', {{1, 2}}, 'deltadist', logical([0 1]));
  D = metric_pairwise(metric, [x grp]);
  Dref = sqrt((x - x').^2 / 1.2^2 + (grp != grp') / 4);
  r.distance_error = max(abs(D(:) - Dref(:)));
  K = exp(-D.^2 / 2);
  post = K * ((K + 0.01 * eye(m)) \ yobs);
  r.gp_rmse = sqrt(mean((post - f).^2));
  printf('\nmetric_pairwise: %d points, max |D - m-code| = %.2g; GP fit RMSE %.4f (noise sd 0.1)\n', ...
         m, r.distance_error, r.gp_rmse);
  if draw
    h = new_figure();
    for gsel = 0:1
      s = grp == gsel;
      plot(x(s), yobs(s), 'o', x(s), post(s), '-', 'linewidth', 1.5); hold on;
    end
    hold off; title('GP regression with a metric_pairwise covariance', 'interpreter', 'none');
    legend('data, group 0', 'posterior mean', 'data, group 1', 'posterior mean', ...
           'location', 'southoutside');
    save_png(h, fullfile(figdir, 'gp_regression.png'), '900,480');
    close(h);
  end
end

function f = new_figure()
  f = figure('visible', 'off', '__graphics_toolkit__', 'gnuplot');
end

function save_png(f, file, size)
  % gnuplot's cairo terminal draws text large for the pixel size: shrink it.
  set(findall(f, '-property', 'fontsize'), 'fontsize', 5);
  print(f, file, '-dpngcairo', ['-S' size]);
end

function v = ifelse(c, a, b)
  if c, v = a; else, v = b; end
end
