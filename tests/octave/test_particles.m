function test_particles()
  % The five resampling modules in Octave: shapes, messages, the stream they
  % take, unbiased counts and the bounds each scheme guarantees.
  names = {'particles_multinomial', 'particles_residual', 'particles_stratified', ...
           'particles_deterministic', 'particles_systematic'};
  w = [0.1 0 0.35 0.05 0.3 0.2];
  for k = 1:numel(names)
    f = str2func(names{k});
    assert(size(f(w)), [1 6]);
    assert(size(f(w', 3)), [3 3]);
    assert(size(f(w, 4, 2)), [4 2]);
    assert(size(f(w, 2.9, 3)), [2 3]);
    assert(size(f(w, -2, -3)), [0 0]);
    assert(size(f([], 2, 3)), [2 3]);
    r = f(w, 50);
    assert(all(ismember(r(:), [1 3 4 5 6])), names{k});
    expect_error(@() f(w, [1 2]), 'M must be a scalar.');
    expect_error(@() f(w, 2, [1; 2]), 'M must be a scalar.');
    expect_error(@() f(), 'Wrong number of input arguments.');
    expect_error(@() f(w, 1, 1, 1), 'Wrong number of input arguments.');
    expect_error(@() f(single(w)), 'Input 1 must be a full double array, not single.');
    expect_error(@() f(w, single(2)), 'Input 2 must be a full double array, not single.');
    % Weights with no expected counts: negative, NaN, infinite, all zero
    % (exp of log-likelihoods that all underflow), a sum that overflows.
    for bad = {[1 -1 2], [1 NaN], [Inf 1], -Inf}
      expect_error(@() f(bad{1}, 3), 'Weights must be finite and not negative.');
    end
    expect_error(@() f(exp([-800 -900 -1000]), 3), 'Weights must not all be zero.');
    expect_error(@() f([1e308 1e308], 3), 'Weights must have a finite sum.');
    expect_error(@() f(w, 2, NaN), 'Sizes must be finite and smaller than 2^31 in magnitude.');
    try
      [a, b] = f(w);
      error('no error');
    catch err
      assert(strcmp(err.message, [names{k} ': Too many output arguments.']), err.message);
    end
  end

  % Multinomial: the host's uniforms, each mapped to the first cumulative
  % weight at least it; the generator is left T values on.
  rand('state', 9);
  r = particles_multinomial(w, 30, 40);
  next = rand();
  rand('state', 9);
  u = rand(30, 40);
  assert(rand() == next);
  c = cumsum(w); c(1:end-1) = c(1:end-1) / c(end); c(end) = 1;
  ref = zeros(size(u));
  for i = 1:numel(u)
    ref(i) = min(sum(c(1:end-1) < u(i)) + 1, numel(w));
  end
  assert(isequal(r, ref));
  % Stratified takes T values, residual R (here 1).
  rand('state', 4); particles_stratified(w, 7, 3); next = rand();
  rand('state', 4); rand(7, 3); assert(rand() == next);
  rand('state', 4); r = particles_residual([1 1 2], 2, 1); next = rand();
  rand('state', 4); u = rand(); assert(rand() == next);
  assert(isequal(r, [3; 1 + (u > 0.5)]));

  % Systematic: one uniform u, taken even for an empty result, and the walk
  % replayed operation by operation (its accumulator is the cumulative
  % expected count less the strata filled, so cumsum would round otherwise).
  rand('state', 5); v = rand(1, 50) .* (rand(1, 50) > 0.3);
  rand('state', 6); r = particles_systematic(v, 30, 40); next = rand();
  rand('state', 6); u = rand(); assert(rand() == next);
  assert(isequal(r(:), systematic_m(v, 1200, u)));
  rand('state', 6); particles_systematic(v, 0); next = rand();
  rand('state', 6); rand(); assert(rand() == next);

  % Unbiased counts: the mean count of each particle over many calls is
  % within 5 standard errors of T w / sum(w) (fixed seeds).
  T = 40; reps = 3000;
  e = w / sum(w) * T;
  for k = [1 2 3 5]
    f = str2func(names{k});
    rand('state', 20 + k);
    counts = zeros(reps, numel(w));
    for i = 1:reps
      counts(i, :) = accumarray(f(w, T, 1), 1, [numel(w) 1])';
    end
    se = std(counts) / sqrt(reps);
    assert(all(abs(mean(counts) - e) <= 5 * se + 1e-12), sprintf('%s is biased', names{k}));
  end

  % Per-call bounds on random weight vectors.
  rand('state', 77);
  for i = 1:300
    n = 1 + floor(rand() * 40); T = 1 + floor(rand() * 200);
    v = rand(1, n) .* (rand(1, n) > 0.2);
    if sum(v) == 0, v(1) = 1; end
    e = v / sum(v) * T;
    cnt = @(r) accumarray(r(:), 1, [n 1])';
    d = cnt(particles_deterministic(v, T, 1));
    assert(sum(d) == T && all(d == floor(e) | d == floor(e) + 1), 'deterministic bounds');
    s = cnt(particles_residual(v, T, 1));
    assert(sum(s) == T && all(s >= floor(e)), 'residual bounds');
    s = cnt(particles_stratified(v, 1, T));
    assert(sum(s) == T && all(abs(s - e) < 2), 'stratified bounds');
    r = particles_systematic(v, 1, T);
    s = cnt(r);
    assert(sum(s) == T && all(s == floor(e) | s == floor(e) + 1) && all(diff(r) >= 0), ...
           'systematic bounds');
    s = cnt(particles_multinomial(v, T, 1));
    assert(sum(s) == T && all(s(v == 0) == 0), 'multinomial never picks a zero weight');
  end
end

function idx = systematic_m(w, T, u)
  idx = zeros(T, 1); g = 0; a = 0; total = 0; last = 0;
  for j = 1:numel(w), total = total + w(j); end
  for j = 1:numel(w)
    if w(j) > 0, last = j; end
    a = a + w(j) / total * T;
    if a >= 1
      k = fix(a); a = a - k;
      idx(g + 1:min(g + k, T)) = j; g = min(g + k, T);
    end
    if g < T && a >= u
      g = g + 1; idx(g) = j; a = a - 1;
    end
  end
  idx(g + 1:end) = last;
end
