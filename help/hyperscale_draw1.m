% Y = hyperscale_draw1(A, B, C, D, E) draws a scale from a generalized inverse Gaussian law.
%
%   Draws one value Y > 0 from the density proportional to
%
%     y^((C*E - B)/2 - 1) * exp(-(A*B / y + (C*E/D) * y) / 2),
%
%   the generalized inverse Gaussian law with index lambda = (C*E - B)/2,
%   chi = A*B and psi = C*E/D.  With C = 0 or E = 0 it is the inverse gamma
%   law of shape B/2 and scale A*B/2 (the scaled inverse chi-square law with
%   B degrees of freedom and scale A); with A*B = 0 it is the gamma law of
%   shape lambda and rate psi/2.  x = -log(Y) is drawn by adaptive rejection
%   sampling from the tangents of its concave log-density (Gilks and Wild
%   1992), starting at Y = A.
%
%   Arguments
%     A, B, C, D, E  Real double arrays; only the first element of each is
%                    read (an empty array reads as 0).
%
%   Validity rule (checked before anything is drawn, in this order)
%     All five values are finite; D is not 0; A*B >= 0 and C*E/D >= 0 (the
%     signs of the factors decide, so products that underflow or overflow
%     do not); A*B and C*E/D are not both 0; when A*B = 0, B - C*E < 0; when
%     C*E/D = 0, B - C*E > 0 (B - C*E evaluated in double precision).  These
%     are exactly the parameter sets whose law is proper and whose
%     log-density in x = -log(y) is concave.
%
%   Result
%     Y       A positive double.  Each proposal of the sampler takes three
%             values of the host's "rand" (piece, position, acceptance), so
%             rand("state", s) reproduces Y exactly and the generator is left
%             where drawing those values one at a time would leave it.  Very
%             slow sampling prints "WARNING: More than 10000 rejections in
%             ars" to standard error, once for as long as the module stays
%             loaded.
%
%   Errors (err.identifier bayesmex:hyperscale_draw1:REASON)
%     "Wrong number of input arguments.", "Too many output arguments.",
%     "Input K must be a full double array, not CLASS.",
%     "Inputs must be finite.", "D must not be zero.",
%     "A*B must not be negative.", "C*E/D must not be negative.",
%     "A*B and C*E/D must not both be zero.",
%     "B - C*E must be negative when A*B is zero.",
%     "B - C*E must be positive when C*E/D is zero.",
%     "The parameters are too extreme: the law's mode or width overflows.",
%     and from the sampler, for laws beyond its resolution:
%     "The sampler's bracketing search found no finite point where the
%     log-density falls.", "The sampler rejected 100000 proposals without
%     accepting one."
%
%   Limits
%     Laws so wide in x = -log(y) that the log-density changes by less than
%     1e-9 per unit over long stretches (for example B below about 1e-9 with
%     C*E = 0, or lambda near 0 with chi*psi below about 1e-30) are beyond
%     the tangent sampler and end with one of the sampler's errors instead
%     of running for ever.  Very narrow laws (curvature of the log-density
%     above about 1e10) are sampled around their mode in a centred form
%     that keeps full precision.
%
%   Example
%     rand("state", 1);
%     y = zeros(1000, 1);
%     for i = 1:1000, y(i) = hyperscale_draw1(2, 10, 0, 1, 1); end
%     mean(y)          % inverse gamma, shape 5, scale 10: mean 2.5
%     hyperscale_draw1(1, 2, 3, 4, 5)
%
%   See also invchisq_draw1, meanshape_draw1, randg, gammainc.
