function test_random_paths()
  warning('off', 'Octave:shadowed-function', 'local');
  % The door's paths to Octave's generators (call-backs, direct access, our
  % own kernels over Octave's state; BAYESMEX_RANDOM) give every randomised
  % module the same bits and leave both generators exactly where call-backs
  % leave them, at every lane width, from every kind of set-up: 'state' and
  % 'twister' states (a full state taken mid-block), the old generators of
  % 'seed', and a user's own rand or randn on the path (which must be
  % called: it returns other values than the built-in).  Then an error in
  % mid-call, a user's rand of another class, the self-check's fall-back and
  % a state of zero words.
  % Every module that draws has its call here (drawing_calls checks the
  % manifest): a new one cannot slip past the paths unchecked.
  calls = drawing_calls('paths');
  folder = tempname();
  mkdir(folder);
  unwind_protect
    shadow(folder, 'rand', '1 - ');
    shadow(folder, 'randn', '-');
    setups = {'state', 'twister', 'seed', 'rand', 'randn'};
    lastwarn('');
    for s = 1:numel(setups)
      for c = 1:numel(calls)
        ref = run(calls{c}, setups{s}, folder, 'callback', '');
        for p = {'direct', 'own', 'auto'}
          widths = {''};
          if strcmp(p{1}, 'own'), widths = {'1', '2', '4', '8'}; end
          for wd = widths
            got = run(calls{c}, setups{s}, folder, p{1}, wd{1});
            if !isequal(got, ref)
              error('%s, set-up %s, path %s, width %s: %s differ from call-backs', ...
                    func2str(calls{c}), setups{s}, p{1}, wd{1}, differing(got, ref));
            end
          end
        end
      end
    end
    % The fast paths stayed on: every self-check found the call-backs' values.
    [~, id] = lastwarn();
    assert(isempty(strfind(id, 'randomSelfCheck')), 'a self-check turned a fast path off: %s', id);
    mid_call_error(folder);
    mid_call_shadow(folder);
    other_shadows(folder);
    foreign_class(folder);
    zero_state();
    self_check_fallback();
  unwind_protect_cleanup
    unsetenv('BAYESMEX_RANDOM'); unsetenv('BAYESMEX_SIMD'); unsetenv('BAYESMEX_RANDOM_SELFCHECK');
    remove_folder(folder);
  end_unwind_protect
end

% CALL's result, then every trace of both generators it left: their saved
% states, the old generators' seeds and two next values of each.
function r = run(call, setup, folder, route, width)
  setenv('BAYESMEX_RANDOM', route);
  if isempty(width), unsetenv('BAYESMEX_SIMD'); else, setenv('BAYESMEX_SIMD', width); end
  start(setup, folder);
  unwind_protect
    r = {call(), rand('state'), randn('state'), rand('seed'), randn('seed'), rand(2, 1), randn(2, 1)};
  unwind_protect_cleanup
    unsetenv('BAYESMEX_RANDOM');
    if any(strcmp(setup, {'rand', 'randn'})), rmpath(folder); end
  end_unwind_protect
  r{1} = typecast(r{1}(:), 'uint64');  % bits, NaN and -0 included
end

function start(setup, folder)
  switch setup
    case 'twister'  % full states with words left mid-block
      rand('state', 11); rand(137, 1); s = rand('state');
      randn('state', 12); randn(301, 1); t = randn('state');
      rand('twister', s); randn('twister', t);
    case 'seed'
      rand('seed', 11); randn('seed', 12);
    otherwise
      rand('state', 11); randn('state', 12);
      if !strcmp(setup, 'state'), addpath(folder); end
  end
end

function s = differing(got, ref)
  what = {'values', 'rand states', 'randn states', 'rand seeds', 'randn seeds', ...
          'next rand values', 'next randn values'};
  s = strjoin(what(!cellfun(@isequal, got, ref)), ', ');
end

% A user's randn that fails at its second call, mid-way through a Student-t
% fill whose uniforms the fast paths draw: on every path the call fails
% and both generators stand where call-backs leave them.
function mid_call_error(folder)
  f = fopen(fullfile(folder, 'randn.m'), 'w');
  fprintf(f, 'function r = randn(varargin)\n  global bayesmex_randn_calls\n');
  fprintf(f, '  if nargin > 0 && ischar(varargin{1}), r = builtin(''randn'', varargin{:}); return; end\n');
  fprintf(f, '  bayesmex_randn_calls += 1;\n');
  fprintf(f, '  if bayesmex_randn_calls > 1, error(''randn failed''); end\n');
  fprintf(f, '  r = builtin(''randn'', varargin{:});\nend\n');
  fclose(f);
  global bayesmex_randn_calls
  nu = [repmat(3, 1, 400), 1, 3];
  after = {};
  for p = {'callback', 'direct', 'own', 'auto'}
    setenv('BAYESMEX_RANDOM', p{1});
    rand('state', 21); randn('state', 22);
    addpath(folder);
    bayesmex_randn_calls = 0;
    try
      studentt_draw(nu, 1, numel(nu));
      error('no error');
    catch err
      if isempty(strfind(err.message, 'randn failed')), rethrow(err); end
    end
    rmpath(folder);
    after{end + 1} = {rand('state'), randn('state'), rand(), randn()};
  end
  unsetenv('BAYESMEX_RANDOM');
  if !isequal(after{:})
    error('an error in mid-call left the generators elsewhere on a fast path');
  end
end

% A user's sort (weightboot_quantile's own call-back) that puts a rand of
% the user's on the path in mid-call: the door looks rand up again after
% it, so the weights come from the user's rand on every path.
function mid_call_shadow(folder)
  inner = fullfile(folder, 'inner');
  mkdir(inner);
  shadow(inner, 'rand', '1 - ');
  f = fopen(fullfile(folder, 'sort.m'), 'w');
  fprintf(f, 'function varargout = sort(varargin)\n  addpath(''%s'');\n', inner);
  fprintf(f, '  [varargout{1:max(nargout, 1)}] = builtin(''sort'', varargin{:});\nend\n');
  fclose(f);
  call = @() weightboot_quantile((1:5)', [50 90], 20);
  ref = {};
  for p = {'callback', 'direct', 'own', 'auto'}
    setenv('BAYESMEX_RANDOM', p{1});
    rand('state', 31);
    addpath(folder);
    unwind_protect
      got = {call(), rand('state')};
    unwind_protect_cleanup
      rmpath(folder);
      if any(strcmp(strsplit(path(), pathsep()), inner)), rmpath(inner); end
      unsetenv('BAYESMEX_RANDOM');
    end_unwind_protect
    if isempty(ref), ref = got; elseif !isequal(got, ref)
      error('a rand put on the path in mid-call was bypassed on path %s', p{1});
    end
  end
  rand('state', 31);
  if isequal(ref{1}, call()), error('the rand put on the path in mid-call was never called'); end
  delete(fullfile(folder, 'sort.m'));
end

% Every other way a name reaches a user's function before the built-in: a
% rand.m in the current folder, a @double/rand.m method (the size
% arguments are doubles), a private function of the caller and a
% command-line function.  Each must be called on every path.  (Octave runs
% an autoloaded m-file as a script, so no rand can come that way.)
function other_shadows(folder)
  kinds = {'cwd', 'method', 'private', 'cmdline'};
  here = pwd();
  for k = 1:numel(kinds)
    place = fullfile(folder, kinds{k});
    mkdir(place);
    call = @() meanshape_draw1(2, 5);
    switch kinds{k}
      case 'method'
        mkdir(fullfile(place, '@double'));
        shadow(fullfile(place, '@double'), 'rand', '1 - ');
      case 'private'
        mkdir(fullfile(place, 'private'));
        shadow(fullfile(place, 'private'), 'rand', '1 - ');
        f = fopen(fullfile(place, 'bayesmex_caller.m'), 'w');
        fprintf(f, 'function r = bayesmex_caller()\n  r = meanshape_draw1(2, 5);\nend\n');
        fclose(f);
        call = @() bayesmex_caller();
      otherwise
        shadow(place, 'rand', '1 - ');
    end
    ref = [];
    % The private folder's parent stays on the path for all four paths:
    % Octave 11.3 no longer finds a private function once its folder has
    % left the path and come back, for its own call-backs too.
    if strcmp(kinds{k}, 'private'), addpath(place); end
    for p = {'callback', 'direct', 'own', 'auto'}
      setenv('BAYESMEX_RANDOM', p{1});
      rand('state', 41);
      unwind_protect
        switch kinds{k}
          case 'cwd', cd(place); rehash();
          case 'method', addpath(place);
          case 'cmdline', eval(fileread(fullfile(place, 'rand.m')));
        end
        got = [call(), typecast(rand('state')(1:4)', 'double')];
      unwind_protect_cleanup
        switch kinds{k}
          case 'cwd', cd(here); rehash();
          case 'method', rmpath(place);
          case 'cmdline', clear rand
        end
        unsetenv('BAYESMEX_RANDOM');
      end_unwind_protect
      if isempty(ref), ref = got; elseif !isequal(got, ref)
        error('a user''s rand (%s) was bypassed on path %s', kinds{k}, p{1});
      end
    end
    if strcmp(kinds{k}, 'private'), rmpath(place); end
    % The user's rand was called: the built-in's value would be other.
    rand('state', 41);
    if isequal(ref(1), meanshape_draw1(2, 5))
      error('the user''s rand (%s) was never called', kinds{k});
    end
  end
end

% A user's rand that returns singles: refused, never read as doubles.
function foreign_class(folder)
  f = fopen(fullfile(folder, 'rand.m'), 'w');
  fprintf(f, 'function r = rand(varargin)\n  r = single(builtin(''rand'', varargin{:}));\nend\n');
  fclose(f);
  addpath(folder);
  unwind_protect
    for call = {@() exponential_draw(1, 1000, 1), @() meanshape_draw1(2, 5)}
      try
        call{1}();
        error('no error');
      catch err
        if isempty(regexp(err.identifier, '^bayesmex:\w+:hostValues$', 'once')), rethrow(err); end
      end
    end
  unwind_protect_cleanup
    rmpath(folder);
  end_unwind_protect
end

% Twister words that stay zero for ever: Octave's own rand would never
% return; the kernels' path reports it instead, and draws nothing.
function zero_state()
  s = [zeros(624, 1); 1];
  rand('state', s);
  setenv('BAYESMEX_RANDOM', 'own');
  try
    exponential_draw(1, 500, 1);
    error('no error');
  catch err
    if !strcmp(err.identifier, 'bayesmex:exponential_draw:randomState'), rethrow(err); end
  end
  unsetenv('BAYESMEX_RANDOM');
  assert(isequal(rand('state'), s));
  rand('state', 1);
end

% A self-check that finds other values (forced) turns the fast paths off
% for the rest of the process, with one warning; the values are still the
% call-backs'.  The module is unloaded first, so its self-check runs again,
% and after, so the spoilt verdict goes with it.
function self_check_fallback()
  call = @() particles_multinomial([1 2 3], 400, 1);
  ref = run(call, 'state', '', 'callback', '');
  clear particles_multinomial
  setenv('BAYESMEX_RANDOM_SELFCHECK', 'mismatch');
  lastwarn('');
  unwind_protect
    got = run(call, 'state', '', 'own', '');
    [~, id] = lastwarn();
    assert(strcmp(id, 'bayesmex:particles_multinomial:randomSelfCheck'), 'no warning of the fall-back');
    assert(isequal(got, ref), 'the fall-back gave other values than call-backs');
    setenv('BAYESMEX_RANDOM', 'own,trace');
    out = evalc('particles_multinomial([1 2 3], 400, 1);');
    assert(!isempty(strfind(out, 'rand 400 callback')), 'the fast paths are not off: %s', out);
  unwind_protect_cleanup
    unsetenv('BAYESMEX_RANDOM_SELFCHECK'); unsetenv('BAYESMEX_RANDOM');
    clear particles_multinomial
  end_unwind_protect
end
