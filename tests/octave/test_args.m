function test_args()
  % The argument rules every module shares, in Octave: an empty array where a
  % scalar is read is 0 (never Octave's "invalid conversion"), an empty
  % result is returned without reading the parameters, integer-class sizes
  % give what the double gives, an input with a third dimension above 1 or a
  % non-zero imaginary part is refused, and a complex input whose imaginary
  % parts are all zero gives what its real part gives.
  m = struct('type', 'metric_euclidean', 'lengthScale', 0.5, 'components', {{[1 2]}}, ...
             'deltadist', false);
  % name, a valid call's inputs, which are sizes, the first numeric input.
  calls = {
    'meanshape_draw',          {[1 2; 3 4], 5, 2, 2},       [3 4], 1
    'invchisq_draw',           {2, [1 2 3], 1, 3},          [3 4], 1
    'studentt_draw',           {[1 2 5], 1, 3},             [2 3], 1
    'exponential_draw',        {[1 2 3], 1, 3},             [2 3], 1
    'simplex_draw',            {3, 4},                      [1 2], 1
    'meanshape_draw1',         {2, 5},                      [],    1
    'invchisq_draw1',          {2, 5},                      [],    1
    'hyperscale_draw1',        {1, 2, 1, 2, 3},             [],    1
    'particles_multinomial',   {[1 0 2 3.5], 3, 2},         [2 3], 1
    'particles_residual',      {[1 0 2 3.5], 3, 2},         [2 3], 1
    'particles_stratified',    {[1 0 2 3.5], 3, 2},         [2 3], 1
    'particles_deterministic', {[1 0 2 3.5], 3, 2},         [2 3], 1
    'weightboot_average',      {[1 2; 3 4], 3, [1; 0.5]},   2,     1
    'weightboot_quantile',     {[1; 2; 3; 4], [50 25], 3, [1; 0; 2; 1]}, 3, 1
    'metric_pairwise',         {m, [0 1; 3 0; 4 1]},        [],    2
    'psi_eval',                {[1 2; 3 4]},                [],    1
    'hyptan_fast',             {[1 2; 3 4]},                [],    1
  };
  for c = 1:rows(calls)
    [name, in, sizes, first] = calls{c, :};
    f = str2func(name);
    ref = run(f, in);
    for k = first:numel(in)
      v = in{k};
      % Two pages of the same values.
      paged = in; paged{k} = cat(3, v, v);
      if any(strcmp(name, {'psi_eval', 'hyptan_fast'}))
        assert(isequal(run(f, paged){1}, cat(3, ref{1}, ref{1})), name);
      else
        expect_error(@() one(f, paged), sprintf('Input %d must not have more than two dimensions.', k));
      end
      z = in; z{k} = complex(v, zeros(size(v)));
      assert(isequaln(run(f, z), ref), sprintf('%s: input %d with zero imaginary parts', name, k));
      z{k}(end) = v(end) + 1e-300i;
      expect_error(@() one(f, z), sprintf('Input %d must be real.', k));
      if any(sizes == k)
        for cls = {'int8', 'uint8', 'int16', 'uint16', 'int32', 'uint32', 'int64', 'uint64'}
          t = in; t{k} = cast(v, cls{1});
          assert(isequaln(run(f, t), ref), sprintf('%s: input %d as %s', name, k, cls{1}));
        end
        t = in; t{k} = int64(2^31);
        expect_error(@() one(f, t), 'Sizes must be finite and smaller than 2^31 in magnitude.');
      else
        t = in; t{k} = int32(v);
        expect_error(@() one(f, t), sprintf('Input %d must be a full double array, not int32.', k));
      end
      % An empty array where a scalar is read is 0.
      if isscalar(v)
        e = in; e{k} = []; o = in; o{k} = 0;
        [re, me] = run_or_message(f, e);
        [ro, mo] = run_or_message(f, o);
        assert(isequaln(re, ro) && strcmp(me, mo), sprintf('%s: empty input %d', name, k));
      end
    end
  end

  % The calls the issue names, and empty results read no parameter.
  assert(size(studentt_draw([])), [0 0]);
  assert(size(simplex_draw([])), [0 1]);
  assert(size(particles_multinomial([1 2], [])), [0 0]);
  assert(size(meanshape_draw(2, [])), [0 0]);
  assert(size(exponential_draw([])), [0 0]);
  assert(meanshape_draw1([], 5) == 0);
  assert(isequal(particles_deterministic([1 1 1], int32(5), uint8(1)), [1; 1; 2; 3; 3]));
end

function r = run(f, in)
  % The result and the next value of each generator after it, from fixed
  % states: same values, same stream position.
  rand('state', 5); randn('state', 6);
  r = {f(in{:}), rand(), randn()};
end

function [r, message] = run_or_message(f, in)
  r = []; message = '';
  try
    rand('state', 5); randn('state', 6);
    r = {f(in{:}), rand(), randn()};
  catch err
    message = err.message;
  end
end

function r = one(f, in)
  r = f(in{:});  % one output, as metric_pairwise needs
end
