function __bayesmex_resampling_counts__(f, bound)
  % __bayesmex_resampling_counts__(F, BOUND): the counts c of each particle
  % in F(v, T, 1) sum to T and meet BOUND(c, e, v), e = T v / sum(v) the
  % expected counts, for 300 random weight vectors v (a fifth of the
  % weights 0) and sizes T.  With BOUND = 'unbiased': over 3000 calls on
  % fixed weights, each mean count is within 5 standard errors of e.
  % Internal to the tests.
  if ischar(bound)
    w = [0.1 0 0.35 0.05 0.3 0.2]; T = 40; reps = 3000;
    rand('state', 21);
    counts = zeros(reps, numel(w));
    for i = 1:reps
      counts(i, :) = accumarray(f(w, T, 1), 1, [numel(w) 1])';
    end
    se = std(counts) / sqrt(reps);
    e = w / sum(w) * T;
    assert(all(abs(mean(counts) - e) <= 5 * se + 1e-12), 'biased counts');
    return;
  end
  rand('state', 77);
  for i = 1:300
    n = 1 + floor(rand() * 40); T = 1 + floor(rand() * 200);
    v = rand(1, n) .* (rand(1, n) > 0.2);
    if sum(v) == 0, v(1) = 1; end
    c = accumarray(f(v, T, 1)(:), 1, [n 1])';
    e = v / sum(v) * T;
    assert(sum(c) == T && bound(c, e, v), 'counts %s for weights %s', mat2str(c), mat2str(v, 4));
  end
end
