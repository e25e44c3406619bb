function rows = workloads_table(reps)
  % The demo's workloads, each against the same program in plain Octave:
  % its particle filter (T = 250, N = 2000, systematic resampling;
  % sv_filter_bayesmex against sv_filter_plain) and its Gibbs sampler
  % (8 groups of 200, 6000 iterations; bayesmex_gibbs against gibbs_plain).
  % Seconds per run (medians of process CPU time, the two programs in
  % turn) and their ratio.
  %
  % Before timing, each pair is checked to give the same answers: the two
  % filters the same log-likelihood bit for bit from the same generator
  % states (they draw the same values in the same order), the two Gibbs
  % samplers the same posterior means within their Monte Carlo error
  % (bayesmex's gamma and GIG draws are other algorithms than randg and
  % gig_draw, so the chains agree in law only).  A pair that disagrees is
  % an error, not a row.
  %
  % rows(k): name, what, check (the agreement, in words), s and alt_s
  % (seconds per run), ratio = s / alt_s.
  if nargin < 1, reps = 7; end
  rows = [filter_row(reps), gibbs_row(reps)];
end

function row = filter_row(reps)
  [y, N] = sv_data();
  set_states(11);
  [ll_mod, est_mod] = sv_filter_bayesmex(y, N);
  set_states(11);
  [ll_alt, est_alt] = sv_filter_plain(y, N);
  if ll_mod != ll_alt || any(est_mod != est_alt)
    error('workloads_table: the particle filters differ: log-likelihood %.17g against %.17g (plain), largest filtered-mean difference %g', ...
          ll_mod, ll_alt, max(abs(est_mod - est_alt)));
  end
  [t_mod, t_alt] = time_median(@() sv_filter_bayesmex(y, N), @() sv_filter_plain(y, N), reps);
  row = struct('name', 'particle filter', ...
               'what', sprintf('T = %d, N = %d, systematic', numel(y), N), ...
               'check', sprintf('log-likelihood %.6f in both, bit for bit', ll_mod), ...
               's', t_mod, 'alt_s', t_alt, 'ratio', t_mod / t_alt);
end

function row = gibbs_row(reps)
  J = 8; n = 200; iters = 6000; burn = 1200;
  randn('state', 5);
  theta_true = [-2 -1 -0.5 0 0.3 1 1.5 2.5]; sigma_true = 1.2;
  data = theta_true + sigma_true * randn(n, J);
  set_states(12);
  a = bayesmex_gibbs(data, iters, burn);
  set_states(13);
  b = gibbs_plain(data, iters, burn);
  % Posterior means of theta, mu, sigma2, tau2 and beta; their standard
  % errors from 24 batch means of each chain (the chains mix within a few
  % tens of iterations).  Fixed seeds: the check is the same every run.
  [ma, sa] = batch_means(a, 24);
  [mb, sb] = batch_means(b, 24);
  z = abs(ma - mb) ./ sqrt(sa.^2 + sb.^2);
  names = [arrayfun(@(j) sprintf('theta(%d)', j), 1:J, 'UniformOutput', false), ...
           {'mu', 'sigma2', 'tau2', 'beta'}];
  [zmax, k] = max(z);
  if zmax > 4.5
    error('workloads_table: the Gibbs samplers disagree: posterior mean of %s %.4f against %.4f (plain), %.1f standard errors apart', ...
          names{k}, ma(k), mb(k), zmax);
  end
  [t_mod, t_alt] = time_median(@() bayesmex_gibbs(data, iters, burn), ...
                               @() gibbs_plain(data, iters, burn), reps);
  row = struct('name', 'Gibbs sampler', ...
               'what', sprintf('J = %d, n = %d, %d iterations', J, n, iters), ...
               'check', sprintf('%d posterior means within %.1f s.e. (largest: %s)', ...
                                numel(z), zmax, names{k}), ...
               's', t_mod, 'alt_s', t_alt, 'ratio', t_mod / t_alt);
end

function set_states(seed)
  % randg keeps a generator state of its own.
  rand('state', seed); randn('state', seed); randg('state', seed);
end

function [m, se] = batch_means(x, nb)
  b = floor(rows(x) / nb);
  x = x(1:nb * b, :);
  means = squeeze(mean(reshape(x, b, nb, columns(x)), 1));
  m = mean(means, 1);
  se = std(means, 0, 1) / sqrt(nb);
end
