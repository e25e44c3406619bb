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
  %   five resampling schemes, a Gibbs sampler for a hierarchical normal
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
  %   Each sampler's table row compares a sample mean or variance with its
  %   exact value and gives the difference in standard errors of the
  %   estimate (the law's own, from its exact moments), so a correct sampler
  %   shows errors of a few units at most, at any sample size.  With 6
  %   degrees of freedom the inverse chi-square law has no fourth moment, so
  %   its sample variance never settles: the table compares the variance of
  %   1/R, a gamma variate, instead.
  %
  %   OUT, when asked for, holds the figures of merit that the tests check:
  %   the samplers' table, the particle filter's log-likelihood and error
  %   for each resampling scheme, the Gibbs posterior means against the
  %   analytic ones, bootstrap summaries and the distance check.
  %
  %   Example
  %     out = bayesmex_demo(1, 'quick', tempdir);  % figures in the temporary folder
  %     max(abs([out.samplers.rows{:, 6}]))        % largest sampler error, in s.e.
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
    % Under the POSIX locale (character set ASCII) gnuplot warns "iconv
    % failed to convert degree sign" at every start, once per figure; the
    % figures' text is ASCII, so gnuplot runs in that locale's UTF-8 form.
    restore_locale = onCleanup(utf8_for_gnuplot());
    if !exist(figdir, 'dir'), mkdir(figdir); end
  end
  rand('state', seed); randn('state', seed);
  printf('bayesmex demo: seed %d, %s size\n', seed, size_name);

  result.samplers = demo_samplers(quick, draw, figdir);
  result.filter = demo_particle_filter(quick, draw, figdir);
  result.gibbs = demo_gibbs(quick, draw, figdir);
  result.bootstrap = demo_bootstrap(quick, draw, figdir);
  result.metric = demo_metric(quick, draw, figdir);
  if draw, printf('figures written to %s\n', figdir); end
  % The tables are the answer of a plain call: OUT only when asked for, so
  % that `bayesmex_demo` at the prompt does not print the structure too.
  if nargout > 0, out = result; end
end

% ---------------------------------------------------------------------------
function r = demo_samplers(quick, draw, figdir)
  % Each sampler's draws against the exact law: a sample mean or variance
  % beside its exact value, the difference in standard errors of the
  % estimate, and a histogram over the density.
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

  % Exact raw moments E[X^k], k = 1..4, of each law.
  gamma_moments = @(shape, scale) scale .^ (1:4) .* cumprod(shape + (0:3));
  beta_moments = @(a, b) cumprod((a + (0:3)) ./ (a + b + (0:3)));
  gig_moments = (chi / psi) .^ ((1:4) / 2) .* besselk(lam + (1:4), w) / besselk(lam, w);
  t_moments = [0, nut / (nut - 2), 0, 3 * nut^2 / ((nut - 2) * (nut - 4))];
  % Inverse chi-square: only the first two moments are finite for nuc = 6;
  % 1/c is a gamma variate of shape nuc/2 and scale 2/(nuc s2).
  c_moments = [nuc * s2 / (nuc - 2), (nuc * s2)^2 / ((nuc - 2) * (nuc - 4)), NaN, NaN];

  r.rows = [ ...
    moment_rows('meanshape_draw(2, 5)', g, gamma_moments(nu / 2, 2 * mu / nu), {'mean', 'variance'});
    moment_rows('invchisq_draw(1.5, 6)', c, c_moments, {'mean'});
    moment_rows('', 1 ./ c, gamma_moments(nuc / 2, 2 / (nuc * s2)), {'', 'variance of 1/r'});
    moment_rows('studentt_draw(5)', t, t_moments, {'mean', 'variance'});
    moment_rows('exponential_draw(2)', e, gamma_moments(1, mu), {'mean', 'variance'});
    moment_rows('simplex_draw(4), first', d(1, :), beta_moments(1, 3), {'mean', 'variance'});
    moment_rows('hyperscale_draw1 (GIG)', y, gig_moments, {'mean', 'variance'})];
  printf('\n%-23s %-16s %9s %9s %11s\n', 'sampler', 'estimate', 'sample', 'exact', 'error/s.e.');
  for k = 1:rows(r.rows)
    printf('%-23s %-16s %9.4f %9.4f %11.2f\n', r.rows{k, [1 2 3 4 6]});
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

function rows = moment_rows(name, x, m, which)
  % Rows {sampler, estimate, sample value, exact value, standard error,
  % error in standard errors} for the sample mean and the sample variance of
  % x, from the law's raw moments m = E[X^(1:4)]: the mean's standard error
  % is sqrt(var/n), the variance's sqrt((mu4 - var^2)/n) with mu4 the
  % central fourth moment.  which names the rows wanted ('' leaves one out).
  n = numel(x);
  v = m(2) - m(1)^2;
  mu4 = m(4) - 4 * m(1) * m(3) + 6 * m(1)^2 * m(2) - 3 * m(1)^4;
  est = {mean(x), m(1), sqrt(v / n); var(x), v, sqrt((mu4 - v^2) / n)};
  rows = {};
  for k = find(!cellfun(@isempty, which))
    rows(end+1, :) = [{name, which{k}}, est(k, :), {(est{k, 1} - est{k, 2}) / est{k, 3}}];
    name = '';
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
  r.truth_sd = std(x);
  printf('\nparticle filter, %d steps, %d particles (log-volatility sd %.4f)\n', T, N, r.truth_sd);
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

function restore = utf8_for_gnuplot()
  % The environment gnuplot inherits: LC_ALL C.UTF-8 when the character set
  % in force is the POSIX locale's; a function that puts LC_ALL back.
  old = getenv('LC_ALL');
  ctype = old;
  if isempty(ctype), ctype = getenv('LC_CTYPE'); end
  if isempty(ctype), ctype = getenv('LANG'); end
  if any(strcmp(ctype, {'', 'C', 'POSIX'}))
    setenv('LC_ALL', 'C.UTF-8');
    if isempty(old)
      restore = @() unsetenv('LC_ALL');
    else
      restore = @() setenv('LC_ALL', old);
    end
  else
    restore = @() [];
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
