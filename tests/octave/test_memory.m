function test_memory()
  % A result, a full copy of an input or a call-back's array that cannot be
  % had ends the call with bayesmex:NAME:outOfMemory and one sentence naming
  % the size, before any value is drawn (both generators untouched), and
  % what the call had made by then (a copy of a range, working memory) is
  % given back; a module cleared and loaded again 1,000 times keeps the
  % resident size flat.  The sizes are beyond any address space (more than
  % 2^47 bytes), so no allocation can succeed however memory is
  % overcommitted.
  N = 2^31 - 1; K = 2^16;
  tall = zeros(2^23, 1);
  metric = @(ls) struct('type', 'metric_euclidean', 'lengthScale', ls, 'components', {{1}}, ...
                           'deltadist', false);
  % Each call, and whether the array that cannot be had is Octave's own
  % (a call-back's result, an input's full copy) rather than this layer's.
  table = {
    @() meanshape_draw(2, 5, N, N),                  false  % the element count overflows
    @() meanshape_draw(2, 5, N, K),                  false
    @() invchisq_draw(2, 5, N, K),                   false
    @() studentt_draw(5, N, K),                      true   % the host's randn makes it
    @() exponential_draw(5, N, K),                   true   % the host's rand makes it
    @() simplex_draw(K, N),                          true
    @() particles_multinomial(1:1e6, N, K),          true   % after a copy and working memory
    @() particles_systematic(1:1e6, N, K),           false  % after a copy
    @() particles_residual([1 2], N, K),             false
    @() particles_stratified([1 2], N, K),           true
    @() particles_deterministic([1 2], N, K),        false
    @() weightboot_average(ones(3, K), N),           false
    @() weightboot_quantile(1:1e6, linspace(0, 100, K), N), false  % after a copy
    @() metric_pairwise(metric(1), tall),        false
    @() metric_pairwise(metric(1:1e12), 1),      true   % a range too large to copy
    @() meanshape_draw(2, 1:1e12),                   true
  };
  % AddressSanitizer's operator new reports an allocation it cannot make and
  % ends the process (it never throws), so under it only this layer's own
  % arrays are asked for; its quarantine holds freed memory, so the
  % resident size tells nothing there.
  sanitized = !isempty(strfind(getenv('LD_PRELOAD'), 'asan'));
  calls = table(!sanitized | !cell2mat(table(:, 2)), 1);
  rand('state', 3); randn('state', 4);
  before = {rand('state'), randn('state')};
  for c = 1:numel(calls)
    name = regexp(func2str(calls{c}), '^@\(\) (\w+)', 'tokens', 'once'){1};
    try
      r = calls{c}();
      error('%s: no error', func2str(calls{c}));
    catch err
      assert(strcmp(err.identifier, ['bayesmex:' name ':outOfMemory']), '%s: "%s" (%s)', ...
             func2str(calls{c}), err.message, err.identifier);
      assert(!isempty(regexp(err.message, ['^' name ': Out of memory: [^.]* \d+(-by-\d+)+ doubles[^.]* cannot be had\.$'], 'once')), ...
             '%s: "%s"', func2str(calls{c}), err.message);
    end
    assert(isequal(before, {rand('state'), randn('state')}), '%s: the generators moved', func2str(calls{c}));
  end
  % Nothing kept: the calls again, ten times (a copy of 1e6 elements or
  % the working memory kept each time would add 80 MB).
  kept = resident_growth(@() cellfun(@refused, calls), 10);
  assert(sanitized || kept < 20e3, 'refused calls kept %d kB', kept);

  % The door's scratch memory (512 kB per generator once a fetch is large)
  % goes with the module.
  cycles = 1000;
  if sanitized, cycles = 100; end
  grown = resident_growth(@cycle, cycles);
  assert(sanitized || grown < 8e3, '%d clear/load cycles kept %d kB', cycles, grown);
  if sanitized
    printf('memory: %d refusals; %d clear/load cycles (resident size not checked under the sanitizers)\n', ...
           numel(calls), cycles);
  else
    printf('memory: %d refusals, ten times more: %d kB kept; %d clear/load cycles: %d kB kept\n', ...
           numel(calls), kept, cycles, grown);
  end
end

function cycle()
  meanshape_draw(2, 5, 300, 1);
  clear('meanshape_draw');
end

function ok = refused(call)
  ok = true;
  try
    call();
    ok = false;
  end
end

% The resident size's growth in kB over `times` runs of f, after one run.
function kb = resident_growth(f, times)
  f();
  start = resident();
  for k = 1:times
    f();
  end
  kb = resident() - start;
end

function kb = resident()
  status = fileread('/proc/self/status');
  kb = str2double(regexp(status, 'VmRSS:\s*(\d+)', 'tokens', 'once'){1});
end
