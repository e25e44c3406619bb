function rows = bench_invchisq_draw1(reps)
  % One draw per call, 1e4 calls, against one randg call per draw in an
  % m-code loop (the loop's own cost is in both).
  n = 1e4; s2 = 2; nu = 5;
  rows = bench_row('invchisq_draw1', 'nu = 5, 1e4 calls', n, @() loop_module(n, s2, nu), ...
                   'loop: nu*s2/(2*randg(nu/2))', @() loop_randg(n, s2, nu), reps, ...
                   count_callbacks(@() invchisq_draw1(s2, nu)));
end

function loop_module(n, s2, nu)
  for i = 1:n, r = invchisq_draw1(s2, nu); end
end

function loop_randg(n, s2, nu)
  for i = 1:n, r = nu * s2 / (2 * randg(nu / 2)); end
end
