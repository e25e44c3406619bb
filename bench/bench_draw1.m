function rows = bench_draw1(reps)
  % The single draws: one draw per call, 1e4 calls, against one randg call
  % per draw in an m-code loop (the loop's own cost is in both).
  n = 1e4; nu = 5;
  rows = [bench_row('meanshape_draw1', 'nu = 5, 1e4 calls', n, @() meanshape_module(n, 2, nu), ...
                    'loop: (2*mu/nu)*randg(nu/2)', @() loop_meanshape(n, 2, nu), reps, ...
                    count_callbacks(@() meanshape_draw1(2, nu))), ...
          bench_row('invchisq_draw1', 'nu = 5, 1e4 calls', n, @() invchisq_module(n, 2, nu), ...
                    'loop: nu*s2/(2*randg(nu/2))', @() loop_invchisq(n, 2, nu), reps, ...
                    count_callbacks(@() invchisq_draw1(2, nu)))];
end

% Direct calls on both sides, as a user's loop makes them.
function meanshape_module(n, mu, nu)
  for i = 1:n, r = meanshape_draw1(mu, nu); end
end

function invchisq_module(n, s2, nu)
  for i = 1:n, r = invchisq_draw1(s2, nu); end
end

function loop_meanshape(n, mu, nu)
  for i = 1:n, r = (2 * mu / nu) * randg(nu / 2); end
end

function loop_invchisq(n, s2, nu)
  for i = 1:n, r = nu * s2 / (2 * randg(nu / 2)); end
end
