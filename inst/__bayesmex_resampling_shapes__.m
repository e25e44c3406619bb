function __bayesmex_resampling_shapes__(f)
  % __bayesmex_resampling_shapes__(F): the shapes every resampling scheme F
  % gives (the size of W, M-by-M, M-by-N, sizes truncated, negative sizes
  % empty, an empty W), and indices only of particles with a positive
  % weight.  Internal to the tests.
  w = [0.1 0 0.35 0.05 0.3 0.2];
  assert(size(f(w)), [1 6]);
  assert(size(f(w', 3)), [3 3]);
  assert(size(f(w, 4, 2)), [4 2]);
  assert(size(f(w, 2.9, 3)), [2 3]);
  assert(size(f(w, -2, -3)), [0 0]);
  assert(size(f([], 2, 3)), [2 3]);
  r = f(w, 50);
  assert(all(ismember(r(:), [1 3 4 5 6])));
end
