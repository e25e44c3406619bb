function test_value_kinds()
  % Every kind of value Octave holds, at every input of every module and in
  % every field of metric_pairwise's structure and a component: the call
  % gives what the same value made a full double array gives (full(double(x));
  % for a text or logical field, a full array of that class; a structure
  % array's first element), with the generators left at the same place, or
  % it refuses the value under a bayesmex: identifier.  Never a crash, never
  % another error, never a value accepted that has no such conversion.
  % Ends with the count of what was tried and how each ended.
  mods = bayesmex_manifest().modules;
  [kind_names, makers] = kinds();
  tried = 0; same = 0; refused = struct(); failures = {};
  slots_total = 0;
  for c = 1:numel(mods)
    call = bayesmex_manifest('call', mods(c).call);
    [name, in] = deal(call{1}, call{3});
    f = str2func(name);
    slots = slots_of(in);
    slots_total += numel(slots);
    for s = 1:numel(slots)
      base = get_slot(in, slots{s});
      for k = 1:numel(makers)
        x = make(makers{k}, base);
        tried += 1;
        got = outcome(f, put_slot(in, slots{s}, x));
        where = sprintf('%s, %s, %s', name, slot_name(slots{s}), kind_names{k});
        if isfield(got, 'id')
          if !strncmp(got.id, 'bayesmex:', 9)
            failures{end + 1} = sprintf('%s: "%s" (identifier "%s")', where, got.message, got.id);
          else
            reason = regexprep(got.id, '^.*:', '');
            refused.(reason) = getfield_or(refused, reason) + 1;
          end
          continue;
        end
        try
          y = convert(x, base);
        catch
          failures{end + 1} = sprintf('%s: accepted, but the value has no conversion', where);
          continue;
        end
        ref = outcome(f, put_slot(in, slots{s}, y));
        if isfield(ref, 'id') || !isequaln(got.r, ref.r)
          failures{end + 1} = sprintf('%s: other values than the converted value gives', where);
        else
          same += 1;
        end
      end
    end
  end
  reasons = fieldnames(refused);
  counts = cellfun(@(r) refused.(r), reasons);
  [~, order] = sort(-counts);
  printf('value kinds: %d modules, %d inputs and fields, %d kinds: %d tried, %d the converted value''s result, %d refused\n', ...
         numel(mods), slots_total, numel(makers), tried, same, sum(counts));
  printf('  %s\n', strjoin(cellfun(@(r) sprintf('%s %d', r, refused.(r)), reasons(order)', 'UniformOutput', false), ', '));
  if !isempty(failures)
    error('test_value_kinds: %d failures:\n  %s', numel(failures), strjoin(failures, '\n  '));
  end
end

% The kinds, each made from the slot's own value v (a size or an array, a
% text, a logical, a structure or a cell), or from a numeric stand-in when
% v cannot take it (a sparse text, say).
function [names, makers] = kinds()
  list = {
    'full',              @(v) v
    'sparse',            @(v) sparse(v)
    'sparse, first element zero', @sparse_zero_first  % stores fewer elements than it holds
    'sparse logical',    @(v) sparse(logical(v))
    'sparse complex',    @(v) sparse(complex(v, 1))
    'complex, zero imaginary', @(v) complex(v, zeros(size(v)))
    'complex',           @(v) complex(v, 1)
    'single',            @(v) single(v)
    'single complex',    @(v) complex(single(v), 1)
    'int8',              @(v) int8(v)
    'uint8',             @(v) uint8(v)
    'int16',             @(v) int16(v)
    'uint16',            @(v) uint16(v)
    'int32',             @(v) int32(v)
    'uint32',            @(v) uint32(v)
    'int64',             @(v) int64(v)
    'uint64',            @(v) uint64(v)
    'logical',           @(v) logical(v)
    'char',              @(v) char(double(v) + 48)
    'range',             @(v) double(v(1)):double(v(1)) + max(numel(v), 2) - 1
    'diagonal matrix',   @diagonal
    'permutation matrix', @(v) eye(max(rows(v), 2))(max(rows(v), 2):-1:1, :)
    'lazy index',        @(v) find(ones(max(size(v), [1 2])))
    'cell',              @(v) {v}
    'struct',            @(v) struct('a', v)
    'struct array',      @struct_array
    'function handle',   @(v) @sin
    'object',            @(v) containers.Map()
    'N-d',               @(v) cat(3, v, v)
    'N-d, page of one',  @(v) reshape(v, [1 size(v)])
    'five dimensions',   @(v) cat(5, v, v)
    '[]',                @(v) []
    '0-by-0',            @(v) zeros(0, 0)
    '1-by-0',            @(v) zeros(1, 0)
    '0-by-1',            @(v) zeros(0, 1)
    '0-by-3',            @(v) zeros(0, 3)
    '3-by-0',            @(v) zeros(3, 0)
    '1-by-1-by-0',       @(v) zeros(1, 1, 0)
    '2-by-2-by-0',       @(v) zeros(2, 2, 0)
    '0-by-0-by-2',       @(v) zeros(0, 0, 2)
    'empty single',      @(v) single([])
    'empty int32',       @(v) int32([])
    'empty logical',     @(v) logical([])
    'empty text',        @(v) ''
    'empty sparse',      @(v) sparse(0, 0)
    'empty cell',        @(v) {}
    'empty struct',      @(v) struct([])
  };
  names = list(:, 1);
  makers = list(:, 2);
end

function x = make(maker, v)
  try
    x = maker(v);
  catch
    x = maker([1 2; 3 4]);
  end
end

function d = diagonal(v)
  if numel(v) < 2, v = [v v]; end
  d = diag(double(v(1:min(size(v)))), rows(v), columns(v));
  if rows(v) == 1 || columns(v) == 1  % a vector's diagonal is one element
    d = diag(double(v(:)'), numel(v), numel(v));
  end
end

function x = sparse_zero_first(v)
  x = sparse(v);
  x(1) = 0;
end

function s = struct_array(v)
  if isstruct(v), s = [v v]; else, s = struct('a', {v, v}); end
end

% The value a kind stands for in the slot of `base`.
function y = convert(x, base)
  if isstruct(base) && isstruct(x)
    y = x(1);
  elseif iscell(base) && iscell(x)
    y = x;
  elseif ischar(base)
    y = char(full(double(x)));
  elseif islogical(base)
    y = logical(full(double(x)));
  else
    y = full(double(x));
  end
end

% The call's inputs, and inside a structure input its fields and the first
% element of a cell field: {k} or {k, field} or {k, field, 1}.
function slots = slots_of(in)
  slots = {};
  for k = 1:numel(in)
    slots{end + 1} = {k};
    if isstruct(in{k})
      for f = fieldnames(in{k})'
        slots{end + 1} = {k, f{1}};
        if iscell(in{k}.(f{1})), slots{end + 1} = {k, f{1}, 1}; end
      end
    end
  end
end

function v = get_slot(in, s)
  v = in{s{1}};
  if numel(s) > 1, v = v.(s{2}); end
  if numel(s) > 2, v = v{s{3}}; end
end

function in = put_slot(in, s, x)
  switch numel(s)
    case 1, in{s{1}} = x;
    case 2, in{s{1}}.(s{2}) = x;
    case 3, in{s{1}}.(s{2}){s{3}} = x;
  end
end

function t = slot_name(s)
  t = sprintf('input %d', s{1});
  if numel(s) > 1, t = [t '.' s{2}]; end
  if numel(s) > 2, t = sprintf('%s{%d}', t, s{3}); end
end

% The result and the next value of each generator, from fixed states; or
% the error's message and identifier.
function o = outcome(f, in)
  rand('state', 5); randn('state', 6);
  try
    r = f(in{:});
    o.r = {r, rand(), randn()};
  catch err
    o.message = err.message;
    o.id = err.identifier;
  end
end

function n = getfield_or(s, name)
  n = 0;
  if isfield(s, name), n = s.(name); end
end
