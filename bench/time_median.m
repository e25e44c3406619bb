function [t1, t2] = time_median(f1, f2, reps)
  % Median process CPU times (cputime: user and system) of reps calls of f1
  % and of f2, after one warm-up call of each; the calls alternate, f1 then
  % f2.  CPU time, not wall time: on a shared machine the time other
  % processes take from this one is not the code's.
  f1(); f2();
  t = zeros(reps, 2);
  for k = 1:reps
    t0 = cputime(); f1(); t(k, 1) = cputime() - t0;
    t0 = cputime(); f2(); t(k, 2) = cputime() - t0;
  end
  t1 = median(t(:, 1));
  t2 = median(t(:, 2));
end
