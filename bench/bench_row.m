function row = bench_row(module, what, n, f_module, alt, f_alt, reps, callbacks)
  % One line of the benchmark table: ns per element of the module and of the
  % alternative, timed in the same run (medians), and their ratio.
  t_mod = time_median(f_module, reps);
  t_alt = time_median(f_alt, reps);
  row = struct('module', module, 'case', what, 'ns', 1e9 * t_mod / n, 'alt', alt, ...
               'alt_ns', 1e9 * t_alt / n, 'ratio', t_mod / t_alt, 'callbacks', callbacks);
end
