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
%   Example
%     rand("state", 1);
%     r = meanshape_draw(2, 5, 1000, 1);     % mean 2, 5 degrees of freedom
%     [mean(r) var(r)]                       % about [2 1.6]
%     i = particles_systematic([0.1 0.4 0.2 0.3], 10, 1)'   % ten indices
%
%   See also bayesmex_demo, bayesmex_seed.
