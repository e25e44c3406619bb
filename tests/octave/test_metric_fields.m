function test_metric_fields()
  % A 1-by-1 metric structure's fields are read in place on Octave; the
  % first element of a 1-by-2 array goes through Octave's own conversion of
  % the whole structure.  Both must give the same distances and the same
  % refusals: ranges, matrices, empty and many components (more than the
  % reader keeps in itself), and every kind of faulty field.
  X = magic(6)(:, 1:5) / 7;
  base = struct('type', 'metric_euclidean', 'lengthScale', 0.5, ...
                'components', {{1:2}}, 'deltadist', false);
  many = base;
  many.components = [num2cell(1:5), {[], zeros(1, 0), 2:-1:1, [1; 3], 4:5, 1:3, 2:5, 3:5, [1 2; 3 4]}];
  many.lengthScale = complex(1:14, 0);
  many.deltadist = logical(mod(1:14, 3) == 0);
  cases = {base, many, setfield(setfield(many, 'lengthScale', 1:14), 'deltadist', many.deltadist'), ...
           setfield(base, 'type', ('metric_euclidean')'), ...
           setfield(setfield(base, 'components', {1:2, ''}), 'deltadist', [false false]), ...
           setfield(base, 'components', {complex(1, 1e-300)}), ...
           setfield(base, 'components', {ones(1, 2, 2)}), ...
           setfield(base, 'components', {0:1}), ...
           setfield(base, 'lengthScale', [0.5 1]), ...
           setfield(base, 'lengthScale', complex(0.5, 1)), ...
           setfield(base, 'deltadist', 1), ...
           setfield(base, 'deltadist', false(2, 2)), ...
           setfield(base, 'lengthScale', ones(2, 2)), ...
           setfield(base, 'type', 'metric_euclidean_'), ...
           setfield(base, 'type', ['metric_euclidean'; 'metric_euclidean'])};
  for f = fieldnames(base)'
    cases{end + 1} = rmfield(base, f{1});
  end
  for k = 1:numel(cases)
    [d1, m1] = distances(cases{k}, X);
    [d2, m2] = distances([cases{k}, cases{k}], X);
    assert(isequal(d1, d2) && strcmp(m1, m2), 'case %d: "%s" against "%s"', k, m1, m2);
    assert(isempty(m1) == (k <= 4), 'case %d: "%s"', k, m1);
  end
  % A type longer than the gateway reads (Octave's mxGetString copies
  % nothing of it): the name and a terminator first match, as the whole
  % text would; the name and more do not.
  [~, m] = distances(setfield(base, 'type', ['metric_euclidean' char(0) repmat('x', 1, 23)]), X);
  assert(isempty(m), m);
  [~, m] = distances(setfield(base, 'type', ['metric_euclidean' repmat('x', 1, 24)]), X);
  assert(strcmp(m, 'metric_pairwise: Wrong type of metric.'), m);
  % Values that keep no elements of their own (a diagonal or permutation
  % matrix, a lazy index, a range; once a crash when read in place) give
  % what their full copies give, in a field and in a component.
  two = setfield(setfield(base, 'components', {1, 2}), 'deltadist', [false true]);
  for c = {setfield(base, 'components', {eye(2)}), setfield(two, 'lengthScale', eye(1, 2)), ...
           setfield(base, 'components', {eye(2)([2 1], :)}), setfield(base, 'components', {find([1 1])}), ...
           setfield(two, 'lengthScale', 1:2)}
    copy = c{1};
    copy.lengthScale = full(copy.lengthScale);
    copy.components = cellfun(@full, copy.components, 'UniformOutput', false);
    [d1, m1] = distances(c{1}, X);
    [d2, m2] = distances(copy, X);
    assert(isequal(d1, d2) && strcmp(m1, m2), '"%s" against "%s"', m1, m2);
  end
  % Reading the components in place costs time in proportion to their count:
  % 20000 of them took 44 s against 0.03 s through the 1-by-2 array's
  % conversion when each element's read made the shared cell unique.
  n = 20000;
  wide = struct('type', 'metric_euclidean', 'lengthScale', 1, 'components', {num2cell(1:n)}, ...
                'deltadist', false(1, n));
  x = rand(2, n);
  tic; d1 = metric_pairwise(wide, x); t1 = toc;
  tic; d2 = metric_pairwise([wide, wide], x); t2 = toc;
  assert(isequal(d1, d2) && t1 < 1 + 20 * t2, '%d components: %.3f s in place, %.3f s converted', n, t1, t2);
end

function [d, message] = distances(metric, X)
  d = []; message = '';
  try
    d = metric_pairwise(metric, X);
  catch err
    message = err.message;
  end
end
