function rows = bench_meanshape_draw(reps)
  % meanshape_draw on 1e6 elements against (2*mu/nu) * randg(nu/2, n, 1).
  n = 1e6; mu = 2;
  rows = [];
  for nu = [5 1]
    cb = count_callbacks(@() meanshape_draw(mu, nu, n, 1));
    rows = [rows, bench_row('meanshape_draw', sprintf('nu = %g, 1e6', nu), n, ...
                            @() meanshape_draw(mu, nu, n, 1), ...
                            '(2*mu/nu)*randg(nu/2,n,1)', @() (2*mu/nu) * randg(nu/2, n, 1), ...
                            reps, cb)];
  end
end
