function [rows, calls] = run_benchmarks(reps, which)
  % Runs every bench/bench_*.m and prints one table: ns per element (median
  % of reps runs) for the module and for what a user would otherwise write,
  % timed in the same run, their ratio, and the host call-backs of one call.
  % Then the per-call table (calls_table): microseconds per scalar or small
  % call.  which is 'all' (the default), 'arrays' or 'calls'.
  if nargin < 1, reps = 7; end
  if nargin < 2, which = 'all'; end
  rows = []; calls = [];
  if !strcmp(which, 'calls')
    here = fileparts(mfilename('fullpath'));
    files = dir(fullfile(here, 'bench_*.m'));
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
  if !strcmp(which, 'arrays')
    calls = calls_table(reps);
    printf('\n%-34s %7s %7s %7s %7s %6s  %s\n', 'call', 'us', 'nop', 'fetches', 'excess', ...
           'ratio', 'm-code (us)');
    for c = calls
      printf('%-34s %7.2f %7.2f %7.2f %7.2f %6.3f  %s (%.2f)\n', c.call, c.us, c.nop_us, ...
             c.fetch_us, c.excess_us, c.ratio, c.alt, c.alt_us);
    end
  end
end
