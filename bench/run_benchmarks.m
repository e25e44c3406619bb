function rows = run_benchmarks(reps)
  % Runs every bench/bench_*.m and prints one table: ns per element (median
  % of reps runs) for the module and for what a user would otherwise write,
  % timed in the same run, their ratio, and the host call-backs of one call.
  if nargin < 1, reps = 7; end
  here = fileparts(mfilename('fullpath'));
  files = dir(fullfile(here, 'bench_*.m'));
  rows = [];
  for k = 1:numel(files)
    name = files(k).name(1:end-2);
    if strcmp(name, 'bench_row'), continue; end
    rows = [rows, feval(name, reps)];
  end
  printf('%-24s %-26s %9s  %-44s %9s %7s %10s\n', 'module', 'case', 'ns/elem', ...
         'alternative', 'ns/elem', 'ratio', 'callbacks');
  for r = rows
    cb = '-';
    if !isempty(r.callbacks), cb = sprintf('%d', r.callbacks); end
    printf('%-24s %-26s %9.2f  %-44s %9.2f %7.3f %10s\n', r.module, r.case, r.ns, r.alt, ...
           r.alt_ns, r.ratio, cb);
  end
end
