function rows = bench_invchisq_draw(reps)
  % invchisq_draw on 1e6 elements against nu*s2./(2*randg(nu/2, n, 1)).
  n = 1e6; s2 = 2;
  rows = [];
  for nu = [5 1]
    cb = count_callbacks(@() invchisq_draw(s2, nu, n, 1));
    rows = [rows, bench_row('invchisq_draw', sprintf('nu = %g, 1e6', nu), n, ...
                            @() invchisq_draw(s2, nu, n, 1), ...
                            'nu*s2./(2*randg(nu/2,n,1))', @() nu * s2 ./ (2 * randg(nu / 2, n, 1)), ...
                            reps, cb)];
  end
end
