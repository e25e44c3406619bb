function rows = bench_meanshape_draw(reps)
  % meanshape_draw on 1e6 elements against (2*mu/nu) * randg(nu/2, n, 1),
  % and against its floor: the host's "rand" alone, the very blocks the
  % call takes (count_callbacks), drawn in m-code.
  n = 1e6; mu = 2;
  rows = [];
  for nu = [5 1]
    [cb, blocks] = count_callbacks(@() meanshape_draw(mu, nu, n, 1));
    what = sprintf('nu = %g, 1e6', nu);
    rows = [rows, bench_row('meanshape_draw', what, n, @() meanshape_draw(mu, nu, n, 1), ...
                            '(2*mu/nu)*randg(nu/2,n,1)', @() (2*mu/nu) * randg(nu/2, n, 1), ...
                            reps, cb), ...
            bench_row('meanshape_draw', [what ', floor'], n, @() meanshape_draw(mu, nu, n, 1), ...
                      sprintf('its rand alone (%.2f per draw)', sum(blocks.rand) / n), ...
                      @() host_floor(blocks), reps, cb)];
  end
end
