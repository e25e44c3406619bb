function t = time_median(f, reps)
  % Median wall time of reps calls of f, after one warm-up call.
  f();
  t = zeros(reps, 1);
  for k = 1:reps
    t0 = tic(); f(); t(k) = toc(t0);
  end
  t = median(t);
end
