function out = run_benchmarks(reps, which)
  % Runs the benchmark tables in one Octave run and prints them; every ratio
  % is bayesmex's time over its alternative's, both timed in this run.
  %   arrays     every bench/bench_*.m: ns per element (median of reps runs)
  %              of the module and of what a user would otherwise write, their
  %              ratio, and the host call-backs of one call
  %   calls      calls_table: microseconds per scalar or small call
  %   sizes      sizes_table: every sampler, weightboot_average, psi_eval and
  %              hyptan_fast at n = 1 to 1e6, and every resampling scheme at
  %              N = 100 to 1e5, against the m-code a user writes
  %   workloads  workloads_table: the demo's particle filter and Gibbs sampler
  %              against the same programs in plain Octave
  %   peers      peers_table: beside numpy and scipy (skipped with a note
  %              when /usr/bin/python3 cannot import them)
  % which is 'all' (the default) or one of these names.  out holds the rows
  % of each table run.
  if nargin < 1, reps = 7; end
  if nargin < 2, which = 'all'; end
  tables = {'arrays', 'calls', 'sizes', 'workloads', 'peers'};
  if !any(strcmp(which, [{'all'}, tables]))
    error('run_benchmarks: which must be all, %s; not %s', strjoin(tables, ', '), which);
  end
  run = @(name) strcmp(which, 'all') || strcmp(which, name);
  out = struct();
  if run('arrays')
    out.arrays = arrays_table(reps);
    print_arrays(out.arrays);
  end
  if run('calls')
    out.calls = calls_table(reps);
    print_calls(out.calls);
  end
  if run('sizes')
    out.sizes = sizes_table(reps);
    print_sizes(out.sizes);
  end
  if run('workloads')
    out.workloads = workloads_table(reps);
    print_workloads(out.workloads);
  end
  if run('peers')
    % The size and workload rows of this run, when it made them, are
    % bayesmex's side of the peers table.
    sizes = []; workloads = [];
    if isfield(out, 'sizes'), sizes = out.sizes; end
    if isfield(out, 'workloads'), workloads = out.workloads; end
    printf('\n');
    out.peers = peers_table(reps, sizes, workloads);
    print_peers(out.peers);
  end
end

function rows = arrays_table(reps)
  here = fileparts(mfilename('fullpath'));
  files = dir(fullfile(here, 'bench_*.m'));
  rows = [];
  for k = 1:numel(files)
    name = files(k).name(1:end-2);
    if strcmp(name, 'bench_row'), continue; end
    rows = [rows, feval(name, reps)];
  end
end

function print_arrays(rows)
  printf('%-24s %-26s %9s  %-44s %9s %7s %10s\n', 'module', 'case', 'ns/elem', ...
         'alternative', 'ns/elem', 'ratio', 'callbacks');
  for r = rows
    cb = '-';
    if !isempty(r.callbacks), cb = sprintf('%d', r.callbacks); end
    printf('%-24s %-26s %9.2f  %-44s %9.2f %7.3f %10s\n', r.module, r.case, r.ns, r.alt, ...
           r.alt_ns, r.ratio, cb);
  end
end

function print_calls(calls)
  printf('\n%-34s %7s %7s %7s %7s %6s  %s\n', 'call', 'us', 'nop', 'fetches', 'excess', ...
         'ratio', 'm-code (us)');
  for c = calls
    printf('%-34s %7.2f %7.2f %7.2f %7.2f %6.3f  %s (%.2f)\n', c.call, c.us, c.nop_us, ...
           c.fetch_us, c.excess_us, c.ratio, c.alt, c.alt_us);
  end
end

function print_sizes(rows)
  % Per call three lines, one column per size: bayesmex's us per call,
  % the m-code's, their ratio; a new header wherever the sizes change.
  printf('\nsizes: us per call with n values (N weights to N indices for resampling); ratio = bayesmex / m-code\n');
  names = unique({rows.call}, 'stable');
  header = [];
  for k = 1:numel(names)
    r = rows(strcmp({rows.call}, names{k}));
    ns = [r.n];
    if !isequal(ns, header)
      header = ns;
      printf('%-9s', ''); printf(' %9s', arrayfun(@size_text, ns, 'UniformOutput', false){:});
      printf('\n');
    end
    printf('%-9s', 'bayesmex'); printf(' %9.2f', [r.us]); printf('  %s\n', r(1).call);
    printf('%-9s', 'm-code'); printf(' %9.2f', [r.alt_us]); printf('  %s\n', r(1).what);
    printf('%-9s', 'ratio'); printf(' %9.3f', [r.ratio]); printf('\n');
  end
end

function s = size_text(n)
  if n >= 1e4
    s = sprintf('n=1e%d', round(log10(n)));
  else
    s = sprintf('n=%d', n);
  end
end

function print_workloads(rows)
  printf('\n%-16s %-32s %10s %10s %7s  %s\n', 'workload', 'case', 'bayesmex', 'plain', ...
         'ratio', 'same answers');
  printf('%-16s %-32s %10s %10s\n', '', '', 's/run', 's/run');
  for r = rows
    printf('%-16s %-32s %10.4f %10.4f %7.3f  %s\n', r.name, r.what, r.s, r.alt_s, r.ratio, r.check);
  end
end

function print_peers(rows)
  if isempty(rows), return; end
  printf('%-26s %8s %10s %10s %10s %7s  %s\n', 'bayesmex', 'n', 'bayesmex', 'Octave', ...
         'peer', 'ratio', 'peer: numpy / scipy (ratio = bayesmex / peer)');
  printf('%-26s %8s %10s %10s %10s\n', '', '', 'ns/value', 'ns/value', 'ns/value');
  for r = rows
    printf('%-26s %8s %10.2f %10.2f %10.2f %7.3f  %s\n', r.name, size_text(r.n), ...
           1e3 * r.us / r.values, 1e3 * r.alt_us / r.values, 1e3 * r.peer_us / r.values, ...
           r.ratio, r.peer);
  end
end
