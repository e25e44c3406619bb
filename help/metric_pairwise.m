% D = metric_pairwise(METRIC, X) computes the distances between the rows of X.
%
%   D(j, k) is the distance between rows j and k of X: the square root of a
%   sum over the components of METRIC, in order, and within each component
%   over its listed columns c, in order, of
%     (X(j, c) - X(k, c))^2 / l^2     for a squared-difference component
%     1 / l^2 if X(j, c) ~= X(k, c)   for a delta component (NaN differs
%                                     from everything)
%   where l is the component's length scale.  A column may be listed more
%   than once; each listing adds its own term.  Every pair's sum is
%   accumulated in exactly that order, so the result is reproducible bit
%   for bit.  D is symmetric with zeros on the diagonal.
%
%   Arguments
%     METRIC  Structure (its first element is read) with fields
%       type         'metric_euclidean' (exact, case-sensitive).
%       lengthScale  Real double vector: one scale for every component, or
%                    one per component.  Not empty.
%       components   Cell vector; element i lists column numbers of X (real
%                    double values, truncated toward zero, 1 to columns(X)).
%                    An empty element adds nothing.  An empty cell vector is
%                    a metric without components (D is all zeros).
%       deltadist    Logical vector, one entry per component: true selects
%                    the delta kind.
%             The length of a vector is its number of elements.  Other
%             fields are ignored.
%     X       Real double matrix, one point per row (a complex X whose
%             imaginary parts are all 0 is read as its real parts).
%
%   Result
%     D       size(X, 1)-by-size(X, 1).  A length scale of 0 gives Inf
%             terms (NaN for equal values of a squared-difference
%             component); NaN coordinates give NaN squared-difference
%             distances.
%
%   Speed (measured on 2 shared cores; see README, Performance)
%     Faster than the m-code x*x' expansion of the squared distances at every
%     size, 2 times and more.
%
%   Errors (err.identifier bayesmex:metric_pairwise:REASON)
%     wrongOutputCount (exactly one output), wrongInputCount, then for X
%     inputClass, notReal, tooManyDims, inputEmpty (help bayesmex), then:
%     missingField "Could not get metric.type" (also when METRIC is not a
%     structure), typeNotString "metric.type must be a string.", wrongType
%     "Wrong type of metric.",
%     missingField "Could not get metric.lengthScale",
%     lengthScaleShape "metric.lengthScale must be a scalar or a vector."
%     (also when empty or with more than two dimensions),
%     fieldClass "metric.lengthScale must be a full double array, not
%     CLASS.", notReal "metric.lengthScale must be real.",
%     missingField "Could not get metric.components",
%     componentsShape "metric.components must be a one dimensional cell
%     array.", lengthScaleLength "metric.lengthScale must be scalar or its
%     lenght must be the same as the number of components.",
%     missingField "Could not get metric.deltadist",
%     deltadistShape "metric.deltadist must be a logical vector.",
%     deltadistSparse "metric.deltadist must be a full logical array, not
%     sparse.", deltadistLength "metric.logical must be of the same length
%     as the number of components.",
%     fieldClass "Every element of metric.components must be a full double
%     array, not CLASS.", notReal "Every element of metric.components must
%     be real.", tooManyDims "Every element of metric.components must not
%     have more than two dimensions.",
%     columnRange "metric.components must list column numbers from 1 to
%     the number of columns of x." (0, negative, NaN or beyond the columns
%     of X).
%
%   Example
%     metric = struct('type', 'metric_euclidean', 'lengthScale', [1 0.5], ...
%                     'components', {{1, 2}}, 'deltadist', [false true]);
%     D = metric_pairwise(metric, [0 5; 3 6])    % D(1, 2) = sqrt(13)
%
%   See also vecnorm, norm.

% Against m-code that adds each pair's terms in the same order: equal bit for
% bit, on random data with ties, NaN and several kinds of scale.
%!function D = reference(met, x)
%! m = rows(x);
%! S = zeros(m);
%! for i = 1:numel(met.components)
%!   l = met.lengthScale(min(i, numel(met.lengthScale)));
%!   L = l * l;
%!   for c = met.components{i}
%!     d = x(:, c)' - x(:, c);   % element (k, j): x(j, c) - x(k, c)
%!     if met.deltadist(i)
%!       t = zeros(m);
%!       t(d != 0) = 1 / L;   % NaN != NaN too
%!       S = S + t;
%!     else
%!       S = S + (d .* d) / L;
%!     end
%!   end
%! end
%! D = sqrt(S);
%! D(1:m + 1:end) = 0;
%!endfunction
%!test
%! rand('state', 3); randn('state', 3);
%! for m = [1 2 7 16 33 100]
%!   x = round(randn(m, 6) * 4) / 4;
%!   x(rand(m, 6) < 0.02) = NaN;
%!   comps = {[1 2 2 6], 3, [5 4]};
%!   for ls = {[1 0.5 2], [0.7 1.3 2.9], 0.3, [0 1 1]}
%!     for dd = {[false true false], [true false true]}
%!       met = struct('type', 'metric_euclidean', 'lengthScale', ls{1}, 'components', {comps}, ...
%!                    'deltadist', dd{1});
%!       assert(isequaln(metric_pairwise(met, x), reference(met, x)), sprintf('m = %d', m));
%!       __bayesmex_same_at_every_width__(@() metric_pairwise(met, x), sprintf('metric_pairwise, m = %d', m));
%!       __bayesmex_same_on_threads__(@() metric_pairwise(met, x), sprintf('metric_pairwise, m = %d', m));
%!     end
%!   end
%! end

% The worked examples.
%!shared met
%! met = struct('type', 'metric_euclidean', 'lengthScale', [1 0.5], 'components', {{1, 2}}, ...
%!              'deltadist', [false true]);
%!test
%! m1 = struct('type', 'metric_euclidean', 'lengthScale', 1, 'components', {{[1 2]}}, 'deltadist', false);
%! assert(isequal(metric_pairwise(m1, [0 0; 3 4]), [0 5; 5 0]));
%! m1.lengthScale = 2;
%! assert(isequal(metric_pairwise(m1, [0 0; 3 4]), [0 2.5; 2.5 0]));
%! assert(isequal(metric_pairwise(met, [0 5; 3 6]), [0 sqrt(13); sqrt(13) 0]));
%! assert(isequal(size(metric_pairwise(met, zeros(0, 2))), [0 0]));
%! assert(isequal(metric_pairwise(met, [1 2]), 0));

% The messages as the real host's structures, strings, cells and logicals
% give them (the module insists on one output).
%!function D = with(field, value)
%! met = struct('type', 'metric_euclidean', 'lengthScale', [1 0.5], 'components', {{1, 2}}, ...
%!              'deltadist', [false true]);
%! D = metric_pairwise(setfield(met, field, value), [1 2]);
%!endfunction
%!error <metric_pairwise: Wrong number of output arguments\.> metric_pairwise(met, [1 2])
%!error id=bayesmex:metric_pairwise:wrongInputCount D = metric_pairwise(met)
%!error <metric_pairwise: Input 2 must be a full double array, not single\.>
%! D = metric_pairwise(met, single([1 2]));
%!error <metric_pairwise: Could not get metric\.type> D = metric_pairwise(3, [1 2])
%!error id=bayesmex:metric_pairwise:wrongType with('type', 'Metric_euclidean')
%!error <metric\.type must be a string\.> with('type', 1)
%!error <metric\.lengthScale must be a scalar or a vector\.> with('lengthScale', [])
%!error <metric\.lengthScale must be scalar or its lenght must be the same as the number of components\.>
%! with('lengthScale', [1 2 3]);
%!error <metric\.components must be a one dimensional cell array\.> with('components', [1 2])
%!error <metric\.deltadist must be a logical vector\.> with('deltadist', [0 1])
%!error <metric\.logical must be of the same length as the number of components\.>
%! with('deltadist', [false true true]);
%!error <Every element of metric\.components must be a full double array, not int8\.>
%! with('components', {1, int8(2)});
%!error <metric\.lengthScale must be a full double array, not single\.> with('lengthScale', single(1))
%!test
%! for c = {0, -1, 3, NaN, [1 Inf]}
%!   try
%!     with('components', {1, c{1}});
%!     error('no error');
%!   catch err
%!     assert(err.identifier, 'bayesmex:metric_pairwise:columnRange');
%!     assert(err.message, ['metric_pairwise: metric.components must list column numbers ' ...
%!                          'from 1 to the number of columns of x.']);
%!   end
%! end

%!demo
%! metric = struct('type', 'metric_euclidean', 'lengthScale', [1 0.5], ...
%!                 'components', {{1, 2}}, 'deltadist', [false true]);
%! D = metric_pairwise(metric, [0 5; 3 6; 0 6])   % D(1, 2) = sqrt(3^2 + 1/0.5^2)
