function rows = bench_simplex_draw(reps)
  % simplex_draw (K = 10 and K = 3, 1e6 elements) against exponentials
  % normalised by their column sums in m-code.
  rows = [];
  for K = [10 3]
    N = round(1e6 / K); n = K * N;
    rows = [rows, bench_row('simplex_draw', sprintf('K = %d, N = %d', K, N), n, ...
                            @() simplex_draw(K, N), 'x=-log(rand(K,N)); x./sum(x)', ...
                            @() dirichlet(K, N), reps, count_callbacks(@() simplex_draw(K, N)))];
  end
end

function x = dirichlet(K, N)
  x = -log(rand(K, N));
  x = x ./ sum(x);
end
