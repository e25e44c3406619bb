function test_metric_pairwise()
  % Against m-code that adds each pair's terms in the same order: equal bit
  % for bit, on random data with ties, NaN and several kinds of scale.
  rand('state', 3); randn('state', 3);
  for m = [1 2 7 16 33 100]
    x = round(randn(m, 6) * 4) / 4;
    x(rand(m, 6) < 0.02) = NaN;
    comps = {[1 2 2 6], 3, [5 4]};
    for ls = {[1 0.5 2], [0.7 1.3 2.9], 0.3, [0 1 1]}
      for dd = {[false true false], [true false true]}
        met = struct('type', 'metric_euclidean', 'lengthScale', ls{1}, 'components', {comps}, ...
                     'deltadist', dd{1});
        D = metric_pairwise(met, x);
        assert(isequaln(D, reference(met, x)), sprintf('m = %d', m));
        same_at_every_width(@() metric_pairwise(met, x), sprintf('metric_pairwise, m = %d', m));
      end
    end
  end
  % The worked examples.
  met = struct('type', 'metric_euclidean', 'lengthScale', 1, 'components', {{[1 2]}}, 'deltadist', false);
  assert(isequal(metric_pairwise(met, [0 0; 3 4]), [0 5; 5 0]));
  met.lengthScale = 2;
  assert(isequal(metric_pairwise(met, [0 0; 3 4]), [0 2.5; 2.5 0]));
  met = struct('type', 'metric_euclidean', 'lengthScale', [1 0.5], 'components', {{1, 2}}, ...
               'deltadist', [false true]);
  assert(isequal(metric_pairwise(met, [0 5; 3 6]), [0 sqrt(13); sqrt(13) 0]));
  assert(isequal(size(metric_pairwise(met, zeros(0, 2))), [0 0]));
  assert(isequal(metric_pairwise(met, [1 2]), 0));
  % Messages (the module insists on one output).
  expect_error(@() one_output(met), 'Wrong number of input arguments.');
  expect_error(@() one_output(met, single([1 2])), 'Input 2 must be a full double array, not single.');
  expect_error(@() one_output(3, [1 2]), 'Could not get metric.type');
  expect_error(@() one_output(setfield(met, 'type', 'Metric_euclidean'), [1 2]), 'Wrong type of metric.');
  expect_error(@() one_output(setfield(met, 'type', 1), [1 2]), 'metric.type must be a string.');
  expect_error(@() one_output(setfield(met, 'lengthScale', []), [1 2]), ...
               'metric.lengthScale must be a scalar or a vector.');
  expect_error(@() one_output(setfield(met, 'lengthScale', [1 2 3]), [1 2]), ...
               'metric.lengthScale must be scalar or its lenght must be the same as the number of components.');
  expect_error(@() one_output(setfield(met, 'components', [1 2]), [1 2]), ...
               'metric.components must be a one dimensional cell array.');
  expect_error(@() one_output(setfield(met, 'deltadist', [0 1]), [1 2]), ...
               'metric.deltadist must be a logical vector.');
  expect_error(@() one_output(setfield(met, 'deltadist', [false true true]), [1 2]), ...
               'metric.logical must be of the same length as the number of components.');
  bad = 'metric.components must list column numbers from 1 to the number of columns of x.';
  for c = {0, -1, 3, NaN, [1 Inf]}
    expect_error(@() one_output(setfield(met, 'components', {1, c{1}}), [1 2]), bad);
  end
  expect_error(@() one_output(setfield(met, 'components', {1, int8(2)}), [1 2]), ...
               'Every element of metric.components must be a full double array, not int8.');
  expect_error(@() one_output(setfield(met, 'lengthScale', single(1)), [1 2]), ...
               'metric.lengthScale must be a full double array, not single.');
  try
    metric_pairwise(met, [1 2]);
    error('no error');
  catch err
    assert(strcmp(err.message, 'metric_pairwise: Wrong number of output arguments.'), err.message);
  end
end

function D = reference(met, x)
  % Squared sums element by element in component and listing order.
  m = rows(x);
  S = zeros(m);
  for i = 1:numel(met.components)
    l = met.lengthScale(min(i, numel(met.lengthScale)));
    L = l * l;
    for c = met.components{i}
      d = x(:, c)' - x(:, c);   % element (k, j): x(j, c) - x(k, c)
      if met.deltadist(i)
        t = zeros(m);
        t(d != 0) = 1 / L;   % NaN != NaN too
        S = S + t;
      else
        S = S + (d .* d) / L;
      end
    end
  end
  D = sqrt(S);
  D(1:m + 1:end) = 0;
end

function D = one_output(varargin)
  D = metric_pairwise(varargin{:});
end
