% R = studentt_draw(NU) draws Student's t random numbers with NU degrees of freedom.
% R = studentt_draw(NU, M, N)
%
%   Draws independent Student-t variates (location 0, scale 1) with NU
%   degrees of freedom.  The host's "randn" gives one normal value Z per
%   element; then, element by element:
%     NU == 1   Z / G with G a further "randn" value (Cauchy);
%     NU == 2   sqrt(2) * (U - 0.5) / sqrt(U * (1 - U)) with U from "rand"
%               (Z is drawn but not used);
%     otherwise sqrt(NU) * Z / sqrt(2 * G), G a gamma variate of shape NU/2
%               drawn from "rand".
%
%   Arguments
%     NU      Real double scalar or array.  An array supplies one value per
%             element of R; a scalar (any array with no dimension above 1)
%             supplies its first value to every element.
%     M, N    Size of R (truncated toward zero; negative gives an empty R).
%             An array NU must then be M-by-N.
%
%   Result
%     R       Without M and N: the size of NU.  All normals of R come from one
%             randn(M, N) call, then the further draws in column-major order,
%             so the generators' states reproduce R exactly and are left
%             where drawing the further values one at a time would leave
%             them.  NU = 0 and negative NU give NaN; 0 < NU < 2e-5 gives Z.
%
%   Errors (err.identifier bayesmex:studentt_draw:REASON)
%     "Too many output arguments.", "Wrong number of input arguments.",
%     "Input K must be a full double array, not CLASS.",
%     "Sizes must be finite and smaller than 2^31 in magnitude.",
%     "Size information is inconsistent."
%
%   Example
%     rand("state", 1); randn("state", 1);
%     T = studentt_draw(5, 10000, 1);      % 5 degrees of freedom
%     var(T)                               % about 5 / (5 - 2)
%     T = studentt_draw([1 2 5])           % one draw for each NU
%
%   See also meanshape_draw, invchisq_draw, randn, randg, betainc.
