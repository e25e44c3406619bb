% D = metric_pairwise(METRIC, X) computes the pairwise distances between the rows of X.
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
%     X       Real double matrix, one point per row (complex: real parts).
%
%   Result
%     D       size(X, 1)-by-size(X, 1).  A length scale of 0 gives Inf
%             terms (NaN for equal values of a squared-difference
%             component); NaN coordinates give NaN squared-difference
%             distances.
%
%   Errors (err.identifier bayesmex:metric_pairwise:REASON), in the order they are tested
%     "Wrong number of output arguments." (exactly one output),
%     "Wrong number of input arguments.",
%     "Input 2 must be a full double array, not CLASS.",
%     "Could not get metric.type" (also when METRIC is not a structure),
%     "metric.type must be a string.", "Wrong type of metric.",
%     "Could not get metric.lengthScale",
%     "metric.lengthScale must be a scalar or a vector." (also when empty),
%     "metric.lengthScale must be a full double array, not CLASS.",
%     "Could not get metric.components",
%     "metric.components must be a one dimensional cell array.",
%     "metric.lengthScale must be scalar or its lenght must be the same as
%      the number of components.",
%     "Could not get metric.deltadist",
%     "metric.deltadist must be a logical vector.",
%     "metric.deltadist must be a full logical array, not sparse.",
%     "metric.logical must be of the same length as the number of
%      components.",
%     "Every element of metric.components must be a full double array, not
%      CLASS.",
%     "metric.components must list column numbers from 1 to the number of
%      columns of x." (0, negative, NaN or beyond the columns of X).
%
%   Example
%     metric = struct('type', 'metric_euclidean', 'lengthScale', [1 0.5], ...
%                     'components', {{1, 2}}, 'deltadist', [false true]);
%     D = metric_pairwise(metric, [0 5; 3 6])    % D(1, 2) = sqrt(13)
%
%   See also vecnorm, norm.
