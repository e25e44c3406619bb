function test_first_fetch()
  warning('off', 'Octave:shadowed-function', 'local');
  % Every drawing module's first fetch in the process (it was just loaded)
  % and the fetches after it, on every route of BAYESMEX_RANDOM, give the
  % call-backs' values and leave both generators where call-backs leave
  % them: first with @double/rand and @double/randn methods on the path
  % (rand(n, 1) reaches a method, rand() the built-in: each fetch must
  % reach what the call-back of its form reaches, and the door's self-check
  % waits), then under the old generators (rand("seed"), where it waits
  % too), then from a twister state (the self-check runs), then once more
  % (a checked route), then with the methods again.  After each call Octave's current distribution is the uniform
  % one again: randperm, which draws from it, and randi give what they give
  % from the same state without the call.
  [calls, names] = drawing_calls();
  folder = tempname();
  mkdir(fullfile(folder, '@double'));
  shadow(fullfile(folder, '@double'), 'rand', '1 - ');
  shadow(fullfile(folder, '@double'), 'randn', '-');
  rand('state', 7); after = {randperm(20), randi(100, 1, 5)};
  setups = {'method', 'seed', 'state', 'state', 'method'};
  reached = false(size(calls));
  unwind_protect
    for c = 1:numel(calls)
      ref = {};
      for route = {'callback', 'direct', 'own', 'auto'}
        setenv('BAYESMEX_RANDOM', route{1});
        clear(names{c});
        got = {};
        for s = setups
          got{end + 1} = run(calls{c}, s{1}, folder);
          rand('state', 7);
          assert(isequal({randperm(20), randi(100, 1, 5)}, after), ...
                 '%s, route %s, set-up %s: randperm or randi after the call draw other values', ...
                 func2str(calls{c}), route{1}, s{1});
        end
        if isempty(ref)
          ref = got;
        else
          k = find(!cellfun(@isequal, got, ref), 1);
          assert(isempty(k), '%s: route %s, set-up %s (call %d) differs from call-backs', ...
                 func2str(calls{c}), route{1}, setups{max([k 1])}, max([k 1]));
        end
      end
      % Whether a method was called (a module that fetches one value at a
      % time, rand(), reaches only the built-ins).
      reached(c) = !isequal(ref{end}, ref{end - 1});
    end
    assert(any(reached), 'the methods were never called');
    printf('first fetch: %d calls (every drawing module) x 4 routes x %d set-ups; the methods reached by %d\n', ...
           numel(calls), numel(setups), nnz(reached));
  unwind_protect_cleanup
    unsetenv('BAYESMEX_RANDOM');
    remove_folder(folder);
  end_unwind_protect
end

% CALL's result and every trace of both generators it left.
function r = run(call, setup, folder)
  % Both kinds of generator in a known state whatever ran before: the
  % twisters, and the old generators' seeds, which are kept when the
  % twister is selected again.
  rand('state', 11); randn('state', 12);
  rand('seed', 11); randn('seed', 12);
  if !strcmp(setup, 'seed'), rand('state', 11); randn('state', 12); end
  if strcmp(setup, 'method'), addpath(folder); end
  unwind_protect
    r = {call(), rand('state'), randn('state'), rand('seed'), randn('seed'), builtin('rand', 2, 1), ...
         builtin('randn', 2, 1)};
  unwind_protect_cleanup
    if strcmp(setup, 'method'), rmpath(folder); end
  end_unwind_protect
  r{1} = typecast(r{1}(:), 'uint64');  % bits, NaN and -0 included
end
