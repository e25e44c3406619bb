function test_callbacks()
  warning('off', 'Octave:shadowed-function', 'local');
  % Whatever a user's own rand, randn or sort on the path returns (another
  % class, sparse, complex, the wrong count or shape, a range, a structure,
  % a cell, nothing, an error, or a constant, which no rejection pass may
  % ever accept), every module that calls it back refuses
  % it under bayesmex:NAME:hostValues, passes the user's error on, or gives
  % what the same values made a full double array give, with the generators
  % left at the same place.  Never a read outside what came back (the
  % sanitizer build runs this too).
  [calls, named] = drawing_calls();
  kinds = {
    'sparse',          @(v) sparse(v)
    'single',          @(v) single(v)
    'int32',           @(v) int32(v * 100)
    'logical',         @(v) v > 0.5
    'complex',         @(v) complex(v, v)
    'complex, zero imaginary', @(v) complex(v, zeros(size(v)))
    'one value fewer', @(v) v(1:end - 1)
    'one value more',  @(v) [v(:); 0.5]
    'transposed',      @(v) v.'
    'range',           @as_range
    'empty',           @(v) []
    'struct',          @(v) struct('values', v)
    'cell',            @(v) {v}
    'reversed',        @(v) v(end:-1:1)
    'constant',        @(v) 1 + 0 * v
    'error',           @(v) error('user:failed', 'the user''s function failed')
    'nothing',         'nothing'
  };
  global bayesmex_user_values bayesmex_user_calls
  folder = tempname();
  mkdir(folder);
  tally = struct('same', 0, 'refused', 0, 'user_error', 0);
  unwind_protect
    for name = {'rand', 'randn', 'sort'}
      write_user_function(folder, name{1});
      addpath(folder);
      for c = 1:numel(calls)
        if strcmp(name{1}, 'sort') && !strcmp(named{c}, 'weightboot_quantile'), continue; end
        for k = 1:rows(kinds)
          where = sprintf('%s returning %s, %s', name{1}, kinds{k, 1}, func2str(calls{c}));
          bayesmex_user_values = kinds{k, 2};
          bayesmex_user_calls = 0;
          got = outcome(calls{c});
          if bayesmex_user_calls == 0, break; end  % the module never calls it
          if isfield(got, 'id')
            if strcmp(got.id, ['bayesmex:' named{c} ':hostValues'])
              tally.refused += 1;
            elseif strcmp(got.id, 'user:failed') && strcmp(kinds{k, 1}, 'error')
              tally.user_error += 1;
            else
              error('%s: "%s" (identifier "%s")', where, got.message, got.id);
            end
            continue;
          end
          assert(!any(strcmp(kinds{k, 1}, {'error', 'nothing'})), '%s: no error', where);
          % Sorted P is read only as P's count of ascending percentiles.
          assert(!strcmp(name{1}, 'sort') || any(strcmp(kinds{k, 1}, {'transposed', 'range', 'constant'})), ...
                 '%s: accepted', where);
          bayesmex_user_values = @(v) full(double(kinds{k, 2}(v)));
          ref = outcome(calls{c});
          assert(!isfield(ref, 'id') && isequaln(got.r, ref.r), ...
                 '%s: other values than the same values as full doubles give', where);
          tally.same += 1;
        end
      end
      rmpath(folder);
      delete(fullfile(folder, [name{1} '.m']));
    end
    % A user's sort that returns P itself: the module divides a copy of
    % its own, never the caller's P.
    f = fopen(fullfile(folder, 'sort.m'), 'w');
    fprintf(f, 'function x = sort(x)\nend\n');
    fclose(f);
    addpath(folder);
    clear('sort');  % the earlier sort.m of this folder may still be parsed
    P = [0 50 90];
    weightboot_quantile((1:5)', P, 2);
    assert(isequal(P, [0 50 90]), 'the user''s sort returned P, which the module then wrote');
  unwind_protect_cleanup
    clear -global bayesmex_user_values bayesmex_user_calls
    remove_folder(folder);
  end_unwind_protect
  printf('call-backs: %d refused (hostValues), %d the user''s error, %d the values as full doubles give\n', ...
         tally.refused, tally.user_error, tally.same);
end

% NAME in FOLDER: the built-in's values made into what the global
% bayesmex_user_values says; queries and settings ('state', ...) pass.
function write_user_function(folder, name)
  f = fopen(fullfile(folder, [name '.m']), 'w');
  fprintf(f, 'function varargout = %s(varargin)\n  global bayesmex_user_values bayesmex_user_calls\n', name);
  fprintf(f, '  if nargin > 0 && ischar(varargin{1})\n');
  fprintf(f, '    [varargout{1:nargout}] = builtin(''%s'', varargin{:});\n    return;\n  end\n', name);
  fprintf(f, '  bayesmex_user_calls += 1;\n');
  fprintf(f, '  if !ischar(bayesmex_user_values)  %% ''nothing'' returns nothing\n');
  fprintf(f, '    varargout{1} = bayesmex_user_values(builtin(''%s'', varargin{:}));\n  end\nend\n', name);
  fclose(f);
end

% A range of as many values as v, inside (0, 1) as v's are (a range is a
% row of evenly spaced values that Octave keeps as its first value, step
% and count).
function r = as_range(v)
  n = numel(v);
  step = 1 / (n + 1);
  r = step:step:(n + 0.5) * step;
  assert(numel(r) == n);
end

function o = outcome(call)
  rand('state', 5); randn('state', 6);
  try
    o.r = {call(), builtin('rand'), builtin('randn')};
  catch err
    o.message = err.message;
    o.id = err.identifier;
  end
end
