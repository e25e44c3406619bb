% STUDENTT_DRAW  Student-t draws.
%
%   R = studentt_draw(NU)
%   R = studentt_draw(NU, M, N)
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
%             supplies its first value to every element (an empty one reads
%             as 0; an empty R reads no NU).
%     M, N    Size of R: double or integer-class values (int32(5) is 5),
%             truncated toward zero; an empty array reads as 0, negative
%             gives an empty R.
%             An array NU must then be M-by-N.
%
%   Result
%     R       Without M and N: the size of NU.  All normals of R come from one
%             randn(M, N) call, then the further draws in column-major order,
%             so the generators' states reproduce R exactly and are left
%             where drawing the further values one at a time would leave
%             them.  NU that is NaN, zero or negative gives NaN; NU = Inf
%             gives Z, the normal limit (so does NU above about 1.5e307);
%             0 < NU < 2e-5 gives Z up to rounding.  None of them takes a
%             further value.  On Octave, where "rand" and "randn" are two
%             generators, only the order within each matters.
%
%   Errors
%     "Too many output arguments.", "Wrong number of input arguments.",
%     "Input K must be a full double array, not CLASS.",
%     "Input K must be real.", "Input K must not have more than two
%     dimensions.", "Input K must not be empty beyond its second dimension.",
%     "Sizes must be finite and smaller than 2^31 in magnitude.",
%     "Size information is inconsistent."
%
%   Example
%     rand("state", 1); randn("state", 1);
%     T = studentt_draw(5, 10000, 1);      % 5 degrees of freedom
%     var(T)                               % about 5 / (5 - 2)
%     T = studentt_draw([1 2 5])           % one draw for each NU
