% [W, ESS, LOGMEAN] = particles_weights(LOGW) normalises particle log-weights.
%
%   Turns the log-weights of a particle filter or importance sampler into
%   weights that sum to 1, without the underflow of exp(LOGW): with m =
%   max(LOGW(:)), W = exp(LOGW - m) / sum(exp(LOGW - m)).  ESS is the
%   effective sample size 1 / sum(W(:).^2), between 1 and numel(LOGW);
%   LOGMEAN is log(mean(exp(LOGW(:)))), computed as m + log(s / n) with s the
%   sum above, the particle filter's log-likelihood increment.  The
%   exponentials are taken once, in the pass that also sums them.
%
%   Arguments
%     LOGW    Real double array of n >= 1 log-weights, of any shape, read in
%             column-major order.  -Inf is a weight of 0.
%
%   Result
%     W        Weights of the shape of LOGW, non-negative, summing to 1 up
%              to rounding; bit for bit exp(LOGW - m) / sum(exp(LOGW - m))
%              with the sums taken left to right, as the host's sum does.
%     ESS      Scalar: s^2 / sum(exp(LOGW - m).^2), which is 1 / sum(W.^2)
%              up to rounding.
%     LOGMEAN  Scalar: log(mean(exp(LOGW(:)))), finite whatever the size of
%              the log-weights.
%     No randomness: rand and randn are not called.
%
%   Speed (measured on 2 shared cores; see README, Performance)
%     Faster than m = max(LOGW); e = exp(LOGW - m); W = e / sum(e) with its ESS
%     at every size: 3 times up to 1000 values, 1.3 times from 10^5.
%
%   Errors (err.identifier bayesmex:particles_weights:REASON)
%     tooManyOutputs, wrongInputCount, inputClass, notReal (help bayesmex),
%     emptyInput "Log-weights must not be empty.", badWeight "Log-weights
%     must not be NaN or +Inf.", zeroWeights "Log-weights must not all be
%     -Inf."
%
%   Example
%     [w, ess, ll] = particles_weights([-1000 -1000 -Inf])  % [0.5 0.5 0], 2, -1000 + log(2/3)
%     % One step of a bootstrap particle filter, log-likelihood in ll:
%     %   [w, ess, inc] = particles_weights(loglik(y(t), p));  ll = ll + inc;
%     %   p = p(particles_systematic(w, numel(p), 1));
%
%   See also particles_systematic, particles_stratified, particles_residual,
%   exp.

% Against the m-code a user writes: the weights bit for bit, the effective
% sample size and the log of the mean weight to rounding, far outside exp's
% range.
%!test
%! rand('state', 3); randn('state', 3);
%! for shape = {[1 50], [50 1], [7 9], [3 4 5]}
%!   lw = 40 * randn(shape{1}) - 2000;
%!   lw(rand(shape{1}) < 0.2) = -Inf;
%!   [w, ess, lm] = particles_weights(lw);
%!   e = exp(lw - max(lw(:)));
%!   assert(isequal(w, e / sum(e(:))));
%!   assert(abs(ess - 1 / sum(w(:).^2)) <= 1e-13 * ess);
%!   assert(abs(lm - (max(lw(:)) + log(mean(e(:))))) <= 1e-12 * abs(lm));
%! end
%! % Where exp does not underflow, the plain formulas.
%! lw = randn(1, 1000);
%! [w, ess, lm] = particles_weights(lw);
%! assert(abs(lm - log(mean(exp(lw)))) < 1e-13);
%! assert(abs(ess - 1 / sum((exp(lw) / sum(exp(lw))).^2)) < 1e-10);
%! assert(isequal(particles_weights([5 -Inf]), [1 0]));

%!error <particles_weights: Log-weights must not be NaN or \+Inf\.> particles_weights([0 NaN])
%!error id=bayesmex:particles_weights:badWeight particles_weights([0 Inf])
%!error <particles_weights: Log-weights must not all be -Inf\.> particles_weights(-Inf(3, 1))
%!error <particles_weights: Log-weights must not be empty\.> particles_weights([])
%!error <particles_weights: Input 1 must be real\.> particles_weights([0 1i])
%!error <Input 1 must be a full double array, not single\.> particles_weights(single(1))

%!demo
%! [w, ess, ll] = particles_weights([-1000 -1000 -Inf])   % [0.5 0.5 0], 2, -1000 + log(2/3)
