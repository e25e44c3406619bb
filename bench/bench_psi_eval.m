function rows = bench_psi_eval(reps)
  % psi_eval on 1e6 elements against Octave's psi; ns per element.
  % x in (0, 10): half the elements take 1 to 5 recurrence steps;
  % x in (5, 10): the series alone.
  n = 1e6;
  rand('state', 1);
  rows = [];
  for c = {{'x in (0, 10)', 10 * rand(n, 1)}, {'x in (5, 10)', 5 + 5 * rand(n, 1)}}
    x = c{1}{2};
    rows = [rows, bench_row('psi_eval', [c{1}{1} ', 1e6'], n, @() psi_eval(x), 'psi(x)', ...
                            @() psi(x), reps, count_callbacks(@() psi_eval(x)))];
  end
end
