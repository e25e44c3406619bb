function rows = peers_table(reps, sizes, workloads)
  % The peers table: bayesmex beside numpy and scipy, the language users
  % would otherwise move to, for the laws and sizes of the size table, the
  % resampling schemes, metric_pairwise at m = 2000 against scipy's pdist
  % and squareform(pdist(x)), and the demo's particle filter against the
  % same filter in numpy.  Nanoseconds per value, and the ratio bayesmex /
  % peer.  bench/peers.py times the peers (numpy's default Generator,
  % PCG64; loops of calls and medians of process CPU time, as here) in a
  % process of /usr/bin/python3 (or $BAYESMEX_PYTHON) started from this run.
  %
  % sizes and workloads are the rows of sizes_table and workloads_table
  % from the same run (timed here when absent or empty).  Without a Python
  % that imports numpy and scipy the table is skipped with a note: they are
  % no requirement of the build or the tests.
  %
  % rows(k): name, n, values (per call), us (bayesmex per call), alt_us
  % (the Octave m-code per call), peer_us, ratio = us / peer_us, peer (the
  % code timed).
  if nargin < 1, reps = 7; end
  rows = [];
  py = getenv('BAYESMEX_PYTHON');
  if isempty(py), py = '/usr/bin/python3'; end
  [status, ~] = system(sprintf('"%s" -c "import numpy, scipy" > /dev/null 2>&1', py));
  if status != 0
    printf('peers table skipped: %s cannot import numpy and scipy (Debian: python3-numpy python3-scipy)\n', py);
    return;
  end
  if nargin < 2 || isempty(sizes), sizes = sizes_table(reps); end
  if nargin < 3 || isempty(workloads), workloads = filter_times(reps); end

  % The filter's observations go to the peer, so that both filter the same data.
  [y, N] = sv_data();
  yfile = [tempname() '.txt'];
  cleanup = onCleanup(@() unlink(yfile));
  fid = fopen(yfile, 'w'); fprintf(fid, '%.17g\n', y); fclose(fid);
  here = fileparts(mfilename('fullpath'));
  [status, out] = system(sprintf('"%s" "%s" %d "%s"', py, fullfile(here, 'peers.py'), reps, yfile));
  if status != 0, error('peers_table: peers.py failed:\n%s', out); end
  peer = parse(out);

  for s = sizes
    % A size-table row without a peer case in peers.py has no row here.
    p = find(strcmp(peer.key, s.name) & peer.n == s.n);
    if isempty(p), continue; end
    rows = [rows, row(s.name, s.n, s.values, s.us, s.alt_us, 1e6 * peer.s(p), peer.code{p})];
  end
  rows = [rows, metric_rows(reps, peer)];
  p = find(strcmp(peer.key, 'particle_filter'));
  f = workloads(strcmp({workloads.name}, 'particle filter'));
  rows = [rows, row('particle filter (demo)', N, numel(y) * N, 1e6 * f.s, 1e6 * f.alt_s, ...
                    1e6 * peer.s(p), peer.code{p})];
  % The same filter on the same observations: the two estimates differ by
  % Monte Carlo error alone (other random streams).
  rand('state', 11); randn('state', 11);
  ll = sv_filter_bayesmex(y, N);
  printf('(particle filter log-likelihoods on the same observations: bayesmex %.3f, numpy %.3f)\n', ...
         ll, peer.extra(p));
  if !(abs(ll - peer.extra(p)) <= 1.5)  % about 6 standard deviations of the difference
    error('peers_table: the numpy filter''s log-likelihood %.3f is far from bayesmex''s %.3f', ...
          peer.extra(p), ll);
  end
end

function r = row(name, n, values, us, alt_us, peer_us, code)
  r = struct('name', name, 'n', n, 'values', values, 'us', us, 'alt_us', alt_us, ...
             'peer_us', peer_us, 'ratio', us / peer_us, 'peer', code);
end

function rows = metric_rows(reps, peer)
  % One Euclidean component over 10 columns, length scale 1, m = 2000:
  % the full m-by-m matrix, against scipy's pdist (the m(m-1)/2 distinct
  % pairs) and squareform(pdist(x)) (the full matrix), and against the
  % x*x' m-code.  On one thread, as pdist runs: process CPU time counts
  % every thread, and a second one costs more CPU than it saves here (the
  % arrays table's threads row gives the wall-time gain).
  m = 2000;
  randn('state', 1);
  X = randn(m, 10);
  met = struct('type', 'metric_euclidean', 'lengthScale', 1, 'components', {{1:10}}, ...
               'deltadist', false);
  old = getenv('BAYESMEX_THREADS');
  setenv('BAYESMEX_THREADS', '1');
  unwind_protect
    [t, t_alt] = time_median(@() one_output(met, X), @() mcode(X), reps);
  unwind_protect_cleanup
    if isempty(old), unsetenv('BAYESMEX_THREADS'); else, setenv('BAYESMEX_THREADS', old); end
  end_unwind_protect
  p = find(strcmp(peer.key, 'pdist'));
  q = find(strcmp(peer.key, 'squareform_pdist'));
  rows = [row('metric_pairwise (pairs)', m, m * (m - 1) / 2, 1e6 * t, 1e6 * t_alt, ...
              1e6 * peer.s(p), peer.code{p}), ...
          row('metric_pairwise (matrix)', m, m * m, 1e6 * t, 1e6 * t_alt, 1e6 * peer.s(q), ...
              peer.code{q})];
end

function D = mcode(X)
  s = sum(X .^ 2, 2);
  D = sqrt(max(s + s' - 2 * (X * X'), 0));
  D(1:rows(X) + 1:end) = 0;
end

function D = one_output(met, X)
  D = metric_pairwise(met, X);
end

function w = filter_times(reps)
  [y, N] = sv_data();
  [t, t_alt] = time_median(@() sv_filter_bayesmex(y, N), @() sv_filter_plain(y, N), reps);
  w = struct('name', 'particle filter', 's', t, 'alt_s', t_alt);
end

function peer = parse(out)
  % Lines: key, n, seconds per call, code[, extra number].
  lines = strsplit(strtrim(out), "\n");
  k = numel(lines);
  peer = struct('key', {cell(1, k)}, 'n', zeros(1, k), 's', zeros(1, k), ...
                'code', {cell(1, k)}, 'extra', NaN(1, k));
  for j = 1:k
    f = strsplit(lines{j}, "\t");
    if numel(f) < 4, error('peers_table: unexpected line from peers.py: %s', lines{j}); end
    peer.key{j} = f{1}; peer.n(j) = str2double(f{2}); peer.s(j) = str2double(f{3});
    peer.code{j} = f{4};
    if numel(f) > 4, peer.extra(j) = str2double(f{5}); end
  end
end
