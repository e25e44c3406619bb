function rows = bench_meanshape_draw1(reps)
  % One draw per call, 1e4 calls, against one randg call per draw in an
  % m-code loop (the loop's own cost is in both).
  n = 1e4; mu = 2; nu = 5;
  rows = bench_row('meanshape_draw1', 'nu = 5, 1e4 calls', n, @() loop_module(n, mu, nu), ...
                   'loop: (2*mu/nu)*randg(nu/2)', @() loop_randg(n, mu, nu), reps, ...
                   count_callbacks(@() meanshape_draw1(mu, nu)));
end

function loop_module(n, mu, nu)
  for i = 1:n, r = meanshape_draw1(mu, nu); end
end

function loop_randg(n, mu, nu)
  for i = 1:n, r = (2 * mu / nu) * randg(nu / 2); end
end
