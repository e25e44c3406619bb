function rows = bench_hyptan_fast(reps)
  % hyptan_fast on 1e6 elements x = 5 * randn against Octave's tanh, and
  % against x + 1 (the floor of reading and writing 1e6 doubles through a
  % call); ns per element.
  n = 1e6;
  randn('state', 1);
  x = 5 * randn(n, 1);
  rows = [bench_row('hyptan_fast', '5*randn, 1e6', n, @() hyptan_fast(x), 'tanh(x)', @() tanh(x), reps, ...
                    count_callbacks(@() hyptan_fast(x))), ...
          bench_row('hyptan_fast', '5*randn, 1e6', n, @() hyptan_fast(x), 'x + 1 (read-write floor)', ...
                    @() x + 1, reps, [])];
end
