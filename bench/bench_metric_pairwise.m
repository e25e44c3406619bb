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
