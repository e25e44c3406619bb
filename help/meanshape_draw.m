% R = meanshape_draw(MU, NU) draws gamma random numbers by mean and degrees of freedom.
% R = meanshape_draw(MU, NU, M, N)
%
%   Draws independent gamma variates with mean MU and NU degrees of
%   freedom: each is MU * chi2(NU) / NU, a gamma variate with shape NU/2 and
%   scale 2*MU/NU (mean MU, variance 2*MU^2/NU).
%
%   Arguments
%     MU, NU  Real double scalars or arrays.  Two arrays must have the same
%             number of rows and columns; an array supplies one value per
%             element of R, a scalar (any array with no dimension above 1)
%             supplies its first value to every element.
%     M, N    Size of R (truncated toward zero; negative gives an empty R).
%             An array parameter must then be M-by-N.
%
%   Result
%     R       Without M and N: the size of MU if it is an array, else that of
%             NU.  Draws are made in column-major order from the host's
%             "rand", so rand("state", s) reproduces them exactly, and the
%             generator is left where drawing them one value at a time
%             would leave it.  NU below 2e-5 (zero and negative included)
%             returns MU up to rounding (NaN for NU = 0).
%
%   Errors (err.identifier bayesmex:meanshape_draw:REASON)
%     "Too many output arguments.", "Wrong number of input arguments.",
%     "Input K must be a full double array, not CLASS.",
%     "Sizes must be finite and smaller than 2^31 in magnitude.",
%     "Size information is inconsistent."
%
%   Example
%     rand("state", 1);
%     R = meanshape_draw(2, 5, 1000, 1);   % mean 2, 5 degrees of freedom
%     [mean(R), var(R)]                    % about [2, 1.6]
%     lambda = meanshape_draw([1 2; 3 4], 10)
%
%   See also meanshape_draw1, invchisq_draw, studentt_draw, randg, gammainc.
