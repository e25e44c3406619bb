% [SU, SN] = bayesmex_seed(SEED, K) seeds rand and randn for chain K of a run.
%
%   Sets the full states of the host's two generators, "rand" and "randn"
%   (every draw of every bayesmex module comes from them), to states derived
%   from SEED and the chain number K by a strong 64-bit mixer (splitmix64 of
%   (SEED, K, generator), then 312 steps of it for the 624 words of each
%   Mersenne-twister state).  The same (SEED, K) gives the same states on
%   any worker, process or machine, so a chain run under parcellfun or
%   netcellfun draws exactly what it draws when run serially; different K
%   (or SEED) give unrelated full states, so chains do not overlap in any
%   run a user can make, which rand("state", K) for small K side by side
%   cannot promise.  Call it at the start of each chain, inside the function
%   that parcellfun or netcellfun runs.
%
%   Arguments
%     SEED, K   Real double scalars holding whole numbers from 0 to 2^53.
%
%   Result
%     SU, SN    Optional: the 625-by-1 state vectors given to
%               rand("state", SU) and randn("state", SN) (624 words and the
%               position 1).  rand("state") afterwards returns SU.
%     The generators of randg, rande and randp are not touched.  Octave
%     only: MATLAB's rand("state", ...) selects a legacy generator with a
%     state of another size and refuses these vectors.
%
%   Speed (measured on 2 shared cores; see README, Performance)
%     No m-code line does the same (Octave's 64-bit integers saturate); a call
%     costs about 14 microseconds, a little more than rand("state", K) and
%     randn("state", K) together.
%
%   Errors (err.identifier bayesmex:bayesmex_seed:REASON)
%     tooManyOutputs, wrongInputCount, inputClass, notReal, tooManyDims,
%     inputEmpty (help bayesmex), notScalar "SEED and K must be real
%     scalars.", notInteger "SEED and K must be whole numbers from 0 to
%     2^53."
%
%   Example
%     bayesmex_seed(2026, 3); a = randn(1, 3);
%     bayesmex_seed(2026, 3); isequal(a, randn(1, 3))   % true
%     % Four chains on two local processes (package parallel):
%     %   draws = parcellfun(2, @(k) my_chain(2026, k), {1, 2, 3, 4}, ...
%     %                      'UniformOutput', false);
%     % where my_chain calls bayesmex_seed(seed, k) before its first draw.
%
%   See also bayesmex_chains_demo, rand, randn.

% The states follow from (SEED, K) alone, whatever the generators held.
%!test
%! [su, sn] = bayesmex_seed(2026, 3);
%! assert(isequal(size(su), [625 1]) && isequal(rand('state'), su) && isequal(randn('state'), sn));
%! a = [rand(1, 5) randn(1, 5)];
%! rand('state', 1); randn('state', 1);
%! bayesmex_seed(2026, 3);
%! assert(isequal(a, [rand(1, 5) randn(1, 5)]));
%! bayesmex_seed(2026, 4); b = rand(1, 5);
%! bayesmex_seed(2027, 3); c = rand(1, 5);
%! assert(!isequal(a(1:5), b) && !isequal(a(1:5), c) && !isequal(b, c));
%!error <bayesmex_seed: SEED and K must be whole numbers from 0 to 2\^53\.> bayesmex_seed(1, -1)
%!error id=bayesmex:bayesmex_seed:wrongInputCount bayesmex_seed(1)

%!demo
%! bayesmex_seed(2026, 3); a = randn(1, 3);
%! bayesmex_seed(2026, 3); b = randn(1, 3);
%! printf('chain 3 of seed 2026 drew the same values twice: %d\n', isequal(a, b));
