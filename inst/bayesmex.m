% bayesmex  Numerical kernels for Bayesian computation: the functions by group.
%
%   Samplers
%     meanshape_draw         gamma random numbers by mean and degrees of freedom
%     meanshape_draw1        one such draw, for loops of single draws
%     invchisq_draw          scaled inverse chi-square (inverse gamma) numbers
%     invchisq_draw1         one such draw
%     studentt_draw          Student's t random numbers
%     exponential_draw       exponential random numbers by mean
%     simplex_draw           uniform points on the simplex (flat Dirichlet)
%     hyperscale_draw1       one generalized inverse Gaussian draw
%
%   Particle resampling
%     particles_multinomial  particle indices by multinomial resampling
%     particles_residual     the same, residual resampling
%     particles_stratified   the same, stratified resampling
%     particles_systematic   the same, systematic resampling
%     particles_deterministic  the same, deterministic (no randomness)
%     particles_weights      normalised weights, effective sample size and
%                            log mean weight from log-weights
%
%   Bayesian bootstrap
%     weightboot_average     replicates of the column means of X
%     weightboot_quantile    replicates of percentiles of a sorted sample
%
%   Distances
%     metric_pairwise        distances between the rows of X under a metric
%
%   Special functions
%     psi_eval               the digamma function, elementwise
%     hyptan_fast            tanh, elementwise, fast
%
%   Demo and utilities
%     bayesmex_seed          full rand and randn states for chain K of a run
%     bayesmex_demo          every function on problems with known answers
%     bayesmex_gibbs         the demo's Gibbs sampler for a hierarchical model
%     bayesmex_chains_demo   its chains serially, on local processes and on a
%                            cluster, drawing the same values
%
%   Every draw comes from the host's rand and randn, so their seed
%   reproduces it.  help NAME gives a function's arguments, result, errors
%   and an example; lookfor finds the functions by what they do (lookfor
%   resampling); pkg describe -verbose bayesmex lists the groups.
%
%   Errors
%     Every error has the identifier bayesmex:NAME:REASON, so a caller
%     branches on the reason, never on the words.  help NAME lists the
%     reasons of its function; these are the words of the argument checks
%     the functions share, in the order they are tried:
%       tooManyOutputs    "Too many output arguments."
%       wrongOutputCount  "Wrong number of output arguments."
%       wrongInputCount   "Wrong number of input arguments."
%       inputClass        "Input K must be a full double array, not CLASS."
%                         (sizes and counts also take the integer classes)
%       notReal           "Input K must be real."
%       tooManyDims       "Input K must not have more than two dimensions."
%       inputEmpty        "Input K must not be empty beyond its second
%                         dimension."
%       sizeRange         "Sizes must be finite and smaller than 2^31 in
%                         magnitude."
%       sizeInconsistent  "Size information is inconsistent."
%     of the functions that draw from rand and randn, when a rand or randn
%     of your own on the path returns other values:
%       hostValues        "The host's rand must return a full real double
%                         array, not CLASS.", "The host's randn returned N
%                         values where a M-by-N array was asked for.", "The
%                         host's rand returned values from which ten
%                         thousand rejection passes in a row accept no
%                         draw."
%       randomState       "The host's uniform generator has a state of zero
%                         words, from which it never returns a value."
%     and of every function:
%       outOfMemory       "Out of memory: a result of M-by-N doubles cannot
%                         be had.", "Out of memory: N bytes of working
%                         memory cannot be had.", "Out of memory: Octave
%                         could not make a value the call needs.", "Out of
%                         memory: the host's function could not make its
%                         result."
%       internal          a broken host or a fault of ours (please report
%                         it): "Internal error: random values were fetched
%                         out of order.", "Internal error: a span of random
%                         values straddles two blocks.", "Internal error:
%                         more bootstrap replicates drawn than announced.",
%                         "Internal error: the host's generator could not be
%                         drawn from."
%     A fast path to Octave's generators that gives other values than its
%     call-backs is left off for the session with one warning,
%     randomSelfCheck: "A fast path to the host's rand gave other values
%     than its call-backs and is off for this session." (or randn's: "A
%     fast path to the host's randn gave other values than its call-backs
%     and is off for this session.").
%
%   Example
%     rand("state", 1);
%     r = meanshape_draw(2, 5, 1000, 1);     % mean 2, 5 degrees of freedom
%     [mean(r) var(r)]                       % about [2 1.6]
%     i = particles_systematic([0.1 0.4 0.2 0.3], 10, 1)'   % ten indices
%
%   See also bayesmex_demo, bayesmex_seed.
