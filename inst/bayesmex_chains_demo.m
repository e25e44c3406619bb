function out = bayesmex_chains_demo(seed, K, iters, connections)
  % BAYESMEX_CHAINS_DEMO  Parallel chains of the demo's Gibbs sampler.
  %
  %   bayesmex_chains_demo
  %   bayesmex_chains_demo(SEED, K, ITERS)
  %   bayesmex_chains_demo(SEED, K, ITERS, CONNECTIONS)
  %   OUT = bayesmex_chains_demo(...)
  %
  %   Runs K chains (default 4) of bayesmex_gibbs, ITERS iterations each
  %   (default 2000, the first fifth discarded), on one data set: chain k
  %   starts with bayesmex_seed(SEED, k), so where it runs does not change
  %   what it draws.  The chains run serially, then with parcellfun on 2
  %   local processes, then, given CONNECTIONS from pconnect, with netcellfun
  %   on those servers (package parallel).  The demo checks that every way
  %   gives bit-identical draws and prints the posterior means across chains
  %   with the potential scale reduction factor (Gelman and Rubin, 1992).
  %
  %   OUT, when asked for, holds the draws of each way (serial, local,
  %   cluster: cells of K draw matrices), whether they are identical, and
  %   the factors.
  %
  %   Example
  %     bayesmex_chains_demo(2026, 4, 2000)
  %     % Over a cluster, with octave-pserver running on each machine:
  %     %   pkg load parallel
  %     %   c = pconnect({'node1', 'node2'}, struct('use_tls', false));
  %     %   bayesmex_chains_demo(2026, 4, 2000, c); sclose(c);
  %
  %   See also bayesmex_seed, bayesmex_gibbs, parcellfun, netcellfun.
  if nargin < 1 || isempty(seed), seed = 2026; end
  if nargin < 2 || isempty(K), K = 4; end
  if nargin < 3 || isempty(iters), iters = 2000; end
  burn = floor(iters / 5);

  % The data: chain 0 of the same seed, so the whole run follows from SEED.
  bayesmex_seed(seed, 0);
  J = 8; n = 40;
  data = [-2 -1 -0.5 0 0.3 1 1.5 2.5] + 1.2 * randn(n, J);
  chain = @(k) bayesmex_gibbs(data, iters, burn, seed, k);
  ks = num2cell(1:K);

  printf('%d chains of bayesmex_gibbs, %d iterations, seed %d\n', K, iters, seed);
  tic; out.serial = cellfun(chain, ks, 'UniformOutput', false);
  printf('  serial:                 %6.2f s\n', toc);
  out.local = {};
  out.cluster = {};
  if isempty(pkg('list', 'parallel'))
    printf('  (package parallel is not installed: parcellfun and netcellfun skipped)\n');
  else
    pkg load parallel
    tic;
    out.local = parcellfun(2, chain, ks, 'UniformOutput', false, 'VerboseLevel', 0);
    printf('  parcellfun, 2 processes: %6.2f s, identical to serial: %d\n', toc, ...
           isequal(out.local, out.serial));
    if nargin >= 4 && !isempty(connections)
      tic; out.cluster = netcellfun(connections, chain, ks, 'UniformOutput', false);
      printf('  netcellfun:             %6.2f s, identical to serial: %d\n', toc, ...
             isequal(out.cluster, out.serial));
    end
  end
  out.identical = (isempty(out.local) || isequal(out.local, out.serial)) && ...
                  (isempty(out.cluster) || isequal(out.cluster, out.serial));

  % Between- and within-chain variances of each quantity: R-hat near 1 says
  % the chains agree.
  draws = cat(3, out.serial{:});  % iterations x quantities x chains
  m = size(draws, 1);
  W = mean(var(draws, 0, 1), 3);
  B = m * var(mean(draws, 1), 0, 3);
  out.rhat = sqrt(((m - 1) / m * W + B / m) ./ W);
  names = [arrayfun(@(j) sprintf('theta%d', j), 1:J, 'UniformOutput', false), ...
           {'mu', 'sigma2', 'tau2', 'beta'}];
  post = mean(mean(draws, 1), 3);
  printf('  %-8s %10s %8s\n', 'quantity', 'mean', 'R-hat');
  for q = [1 J J + 1 J + 2 J + 3 J + 4]
    printf('  %-8s %10.4f %8.4f\n', names{q}, post(q), out.rhat(q));
  end
  % The printout is the answer of a plain call: the draws (K times ITERS
  % rows) only when asked for, never printed as ans.
  if nargout == 0, clear out; end
end
