function __bayesmex_resampling_errors__(name)
  % __bayesmex_resampling_errors__(NAME): the argument errors the resampling
  % schemes share, as Octave shows them: each call fails with the message
  % "NAME: TEXT" and the identifier bayesmex:NAME:REASON.  Internal to the
  % tests.
  f = str2func(name);
  weights = 'Weights must be finite and not negative.';
  cases = {  % inputs, outputs, reason, text
    {[0.5 0.5], [1 2]},          1, 'notScalar',       'M must be a scalar.'
    {[0.5 0.5], 2, [1; 2]},      1, 'notScalar',       'M must be a scalar.'
    {},                          1, 'wrongInputCount', 'Wrong number of input arguments.'
    {1, 1, 1, 1},                1, 'wrongInputCount', 'Wrong number of input arguments.'
    {single(1)},                 1, 'inputClass',      'Input 1 must be a full double array, not single.'
    {1, single(2)},              1, 'inputClass',      'Input 2 must be a full double array, not single.'
    {1, 2, NaN},                 1, 'sizeRange',       'Sizes must be finite and smaller than 2^31 in magnitude.'
    {1},                         2, 'tooManyOutputs',  'Too many output arguments.'
    {[1 -1 2], 3},               1, 'badWeight',       weights
    {[1 NaN], 3},                1, 'badWeight',       weights
    {[Inf 1], 3},                1, 'badWeight',       weights
    {-Inf, 3},                   1, 'badWeight',       weights
    {exp([-800 -900 -1000]), 3}, 1, 'zeroWeights',     'Weights must not all be zero.'
    {[1e308 1e308], 3},          1, 'weightsOverflow', 'Weights must have a finite sum.'
  };
  for k = 1:rows(cases)
    [in, nout, reason, text] = cases{k, :};
    err = [];
    try
      out = cell(1, nout);
      [out{:}] = f(in{:});
    catch err
    end
    what = sprintf('case %d (%s)', k, text);
    assert(!isempty(err), '%s: no error', what);
    assert(err.message, [name ': ' text], what);
    assert(err.identifier, ['bayesmex:' name ':' reason], what);
  end
end
