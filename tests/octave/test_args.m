function test_args()
  % The argument rules every module shares, in Octave: an empty array where a
  % size is read is 0 (never Octave's "invalid conversion"), an empty
  % parameter gives an empty result and draws nothing, integer-class sizes
  % give what the double gives, an input with a third dimension above 1 or a
  % non-zero imaginary part is refused, and a complex input whose imaginary
  % parts are all zero gives what its real part gives.
  % Every module of the manifest, from the valid call of its contract.
  mods = bayesmex_manifest().modules;
  for c = 1:numel(mods)
    row = mods(c);
    call = bayesmex_manifest('call', row.call);
    [name, in, sizes] = deal(call{1}, call{3}, row.sizes);
    assert(strcmp(name, row.name), 'the call of %s calls %s', row.name, name);
    takes = @(check) !any(strcmp(row.except, check));
    f = str2func(name);
    ref = run(f, in);
    for k = 1:numel(in)
      v = in{k};
      if !isa(v, 'double'), continue; end  % a structure has rules of its own
      % Two pages of the same values.
      paged = in; paged{k} = cat(3, v, v);
      if strcmp(row.shape, 'any')
        assert(isequal(run(f, paged){1}, cat(3, ref{1}, ref{1})), name);
      elseif strcmp(row.shape, 'keep')
        assert(isequal(size(run(f, paged){1}), size(paged{k})), name);
      elseif takes('pages')
        expect_error(@() one(f, paged), name, sprintf('Input %d must not have more than two dimensions.', k));
      end
      if takes('complex')
        z = in; z{k} = complex(v, zeros(size(v)));
        assert(isequaln(run(f, z), ref), sprintf('%s: input %d with zero imaginary parts', name, k));
        z{k}(end) = v(end) + 1e-300i;
        expect_error(@() one(f, z), name, sprintf('Input %d must be real.', k));
      end
      if any(sizes == k)
        for cls = {'int8', 'uint8', 'int16', 'uint16', 'int32', 'uint32', 'int64', 'uint64'}
          t = in; t{k} = cast(v, cls{1});
          assert(isequaln(run(f, t), ref), sprintf('%s: input %d as %s', name, k, cls{1}));
        end
        t = in; t{k} = int64(2^31);
        expect_error(@() one(f, t), name, 'Sizes must be finite and smaller than 2^31 in magnitude.');
      elseif takes('integers')
        t = in; t{k} = int32(v);
        expect_error(@() one(f, t), name, sprintf('Input %d must be a full double array, not int32.', k));
      end
      % An empty array where a size is read is 0; an empty parameter gives
      % an empty result and draws nothing, or is inconsistent with the sizes
      % the call gives.
      if isscalar(v) && takes('empty')
        e = in; e{k} = [];
        [re, me] = run_or_message(f, e);
        if any(sizes == k)
          o = in; o{k} = 0;
          [ro, mo] = run_or_message(f, o);
          assert(isequaln(re, ro) && strcmp(me, mo), sprintf('%s: empty input %d', name, k));
        elseif isempty(me)
          assert(isempty(re{1}) && isequal(re(2:3), run(@() [], {})(2:3)), ...
                 sprintf('%s: empty parameter %d gives elements or draws', name, k));
        else
          assert(strcmp(me, [name ': Size information is inconsistent.']), ...
                 sprintf('%s: empty parameter %d: %s', name, k, me));
        end
      end
    end
  end

  % Empty sizes read as 0; an empty parameter gives an empty result of its
  % own size (its shape, when the other is a scalar), in every sampler.
  assert(size(simplex_draw([])), [0 1]);
  assert(size(particles_multinomial([1 2], [])), [0 0]);
  for c = {{@meanshape_draw, 2}, {@invchisq_draw, 2}, {@studentt_draw}, {@exponential_draw}}
    [g, other] = deal(c{1}{1}, c{1}(2:end));
    assert(size(g(zeros(0, 1), other{:})), [0 1]);
    assert(size(g(other{:}, zeros(3, 0))), [3 0]);
    expect_error(@() g(other{:}, [], 2, 3), func2str(g), 'Size information is inconsistent.');
  end
  assert(size(meanshape_draw1([], 5)), [0 0]);
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
