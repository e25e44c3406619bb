function rows = bench_metric_pairwise(reps)
  % metric_pairwise, m = 2000 points: 8 squared-difference columns in one
  % component and 2 delta columns in another, against the m-code a user
  % would write (the x*x' trick for the squared part); ns per matrix entry.
  % Length scales [1 1] divide by a power of two (an exact multiplication);
  % [0.7 1.3] need a true division per term.
  m = 2000;
  randn('state', 1);
  X = [randn(m, 8), round(2 * randn(m, 2))];
  rows = [];
  for ls = {[1 1], [0.7 1.3]}
    met = struct('type', 'metric_euclidean', 'lengthScale', ls{1}, 'components', {{1:8, 9:10}}, ...
                 'deltadist', [false true]);
    rows = [rows, bench_row('metric_pairwise', sprintf('m = %d, 8+2 cols, l = [%g %g]', m, ls{1}), m * m, ...
                            @() one_output(met, X), 'x*x'' trick + delta columns', ...
                            @() mcode_metric(X, ls{1}), reps, count_callbacks(@() one_output(met, X)))];
  end
  rows = [rows, threads_row(reps)];
end

function row = threads_row(reps)
  % m = 8000 on two threads against one (BAYESMEX_THREADS), in wall time:
  % process CPU time counts every thread, so it cannot show the gain.
  m = 8000;
  randn('state', 2);
  X = [randn(m, 8), round(2 * randn(m, 2))];
  met = struct('type', 'metric_euclidean', 'lengthScale', [0.7 1.3], 'components', {{1:8, 9:10}}, ...
               'deltadist', [false true]);
  on = @(n) setenv('BAYESMEX_THREADS', n);
  t = zeros(reps, 2);
  unwind_protect
    for k = 0:reps
      on('2'); t0 = tic(); one_output(met, X); t2 = toc(t0);
      on('1'); t0 = tic(); one_output(met, X); t1 = toc(t0);
      if k > 0, t(k, :) = [t2 t1]; end  % the first round warms up
    end
  unwind_protect_cleanup
    unsetenv('BAYESMEX_THREADS');
  end_unwind_protect
  t = median(t, 1);
  row = struct('module', 'metric_pairwise', 'case', sprintf('m = %d, 2 threads (wall)', m), ...
               'ns', 1e9 * t(1) / m^2, 'alt', 'the same on 1 thread', 'alt_ns', 1e9 * t(2) / m^2, ...
               'ratio', t(1) / t(2), 'callbacks', 0);
end

function D = mcode_metric(X, ls)
  A = X(:, 1:8) / ls(1);
  s = sum(A .^ 2, 2);
  S = s + s' - 2 * (A * A');
  w = 1 / ls(2)^2;
  for c = 9:10
    S = S + w * (X(:, c) != X(:, c)');
  end
  D = sqrt(max(S, 0));
  D(1:size(X, 1) + 1:end) = 0;
end

function D = one_output(met, X)
  % The module insists on exactly one output; a bare call requests none.
  D = metric_pairwise(met, X);
end
