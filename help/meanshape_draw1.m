% MEANSHAPE_DRAW1  One gamma draw given by mean and degrees of freedom.
%
%   R = meanshape_draw1(MU, NU)
%
%   Draws one gamma variate with mean MU and NU degrees of freedom:
%   MU * chi2(NU) / NU, a gamma variate with shape NU/2 and scale 2*MU/NU.
%   The same law and the same draws as meanshape_draw(MU, NU) with scalar
%   arguments, without its size handling.
%
%   Arguments
%     MU, NU  Real double values; of an array only the first element
%             counts (an empty array reads as 0).
%
%   Result
%     R       1-by-1, drawn from the host's "rand", so rand("state", s)
%             reproduces it exactly.  NU that is NaN, zero or negative
%             gives NaN, NU = Inf gives MU itself, 0 < NU < 2e-5 gives MU up
%             to rounding; none of them takes a value from "rand".
%
%   Errors (in this order)
%     "Wrong number of input arguments.", "Too many output arguments.",
%     "Input K must be a full double array, not CLASS.",
%     "Input K must be real.", "Input K must not have more than two
%     dimensions.", "Input K must not be empty beyond its second dimension."
%
%   Example
%     rand("state", 1);
%     lambda = meanshape_draw1(2, 5)   % mean 2, 5 degrees of freedom
