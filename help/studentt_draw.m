% R = studentt_draw(NU) draws Student's t random numbers, NU degrees of freedom.
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
%     NU      Real double scalar or array.  A scalar (one element)
%             supplies its value to every element of R; an array (any other
%             number of elements, none included) one value per element, so
%             an empty NU gives an empty R of its size, drawing nothing.
%     M, N    The size of R, double or integer-class values (int32(5) is
%             5) truncated toward zero, an empty array read as 0 and a
%             negative size giving an empty R; an array NU must be M-by-N.
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
%   Speed (measured on 2 shared cores; see README, Performance)
%     Faster than randn(M, N) ./ sqrt(2*randg(NU/2, M, N)/NU) at every
%     size: 1.2 to 1.45 times up to 100 draws, 2.4 to 2.7 times at 1000,
%     3.2 to 4.3 times from 10^4.
%
%   Errors (err.identifier bayesmex:studentt_draw:REASON)
%     tooManyOutputs, wrongInputCount, inputClass, notReal, tooManyDims,
%     inputEmpty, sizeRange, hostValues, randomState (their texts: help
%     bayesmex), and sizeInconsistent, "Size information is inconsistent.",
%     for an array NU of other than M-by-N elements.
%
%   Example
%     rand("state", 1); randn("state", 1);
%     T = studentt_draw(5, 10000, 1);      % 5 degrees of freedom
%     var(T)                               % about 5 / (5 - 2)
%     T = studentt_draw([1 2 5])           % one draw for each NU
%
%   See also meanshape_draw, invchisq_draw, randn, randg, betainc.

%!test
%! assert(size(studentt_draw(5)), [1 1]);
%! assert(size(studentt_draw(5, 3, 4)), [3 4]);
%! assert(size(studentt_draw(5 * ones(2, 3))), [2 3]);
%! assert(isempty(studentt_draw(5, -3, -4)));
%!error id=bayesmex:studentt_draw:wrongInputCount studentt_draw(5, 2)
%!error <studentt_draw: Size information is inconsistent\.> studentt_draw(ones(2, 3), 2, 4)
%!error <studentt_draw: Input 1 must be a full double array, not single\.> studentt_draw(single(5))
%!error <studentt_draw: Too many output arguments\.> [a, b] = studentt_draw(5, 2)

% A mixed nu against the one-value-at-a-time algorithm: the same values,
% and "rand" and "randn" left where it leaves them.
%!function ref = replay(nu, n)
%! z = randn(1, n); ref = zeros(1, n);
%! for i = 1:n
%!   v = nu(min(i, end));
%!   if !(v > 0)
%!     ref(i) = NaN;
%!   elseif v == 1
%!     ref(i) = z(i) / randn();
%!   elseif v == 2
%!     u = rand(); ref(i) = ((u - 0.5) * 1.4142135623730951) / sqrt(u - u * u);
%!   elseif 3 * (0.5 * v) - 0.75 > realmax / 8
%!     ref(i) = z(i);
%!   else
%!     g = __bayesmex_gamma_replay__(0.5 * v); ref(i) = (sqrt(v) * z(i)) / sqrt(g + g);
%!   end
%! end
%!endfunction
%!test
%! % Octave keeps "rand" and "randn" apart, so the module fetches each in its
%! % own blocks however the two interleave: only the order within each must
%! % hold.  Mixed and alternating nu and each scalar path, at every width.
%! mixed = repmat([1 1 2 5 0.7 2 1 0 30 5 5 1 NaN Inf -2 1e308], 1, 40);
%! alternating = repmat([1 2 5], 1, 200);
%! __bayesmex_at_every_width__(@(w) cellfun(@(nu) __bayesmex_replay__([3 4], ...
%!   @() studentt_draw(nu, 1, max(numel(nu), 600)), @() replay(nu, max(numel(nu), 600))), ...
%!   {mixed, alternating, 5, 0.7, 1, 2}, 'UniformOutput', false));

% Student's t: F(t) = 1 - betainc(nu / (nu + t^2), nu/2, 1/2) / 2 for t > 0,
% symmetric.
%!test
%! for k = 1:4
%!   nu = [1 2 5 0.7](k);
%!   rand('state', 300 + k); randn('state', 400 + k);
%!   t = studentt_draw(nu, 20000, 1);
%!   tail = betainc(nu ./ (nu + t .^ 2), nu / 2, 0.5) / 2;
%!   F = tail; F(t > 0) = 1 - tail(t > 0);
%!   __bayesmex_ks__(F, sprintf('nu = %g', nu));
%! end

%!demo
%! rand('state', 1); randn('state', 1);
%! t = studentt_draw(5, 10000, 1);
%! printf('variance %.3f (law 5/3 = 1.667)\n', var(t));
%! t = studentt_draw([1 2 5])   % one draw for each nu
