function row = bench_row(module, what, n, f_module, alt, f_alt, reps, callbacks)
  % One line of the benchmark table: ns per element of the module and of the
  % alternative, timed in the same run (medians), and their ratio.  The two
  % are timed in turn, call for call, so that a shared machine's changing
  % load falls on both alike.
  [t_mod, t_alt] = time_median(f_module, f_alt, reps);
  row = struct('module', module, 'case', what, 'ns', 1e9 * t_mod / n, 'alt', alt, ...
               'alt_ns', 1e9 * t_alt / n, 'ratio', t_mod / t_alt, 'callbacks', callbacks);
end
