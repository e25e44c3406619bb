function rows = calls_table(reps)
  % The per-call table: a scalar or small call of every module, in a loop
  % of many calls, against the m-code a user would write for it, and against
  % the floor of any oct-file call of the same arity (oct_nop, built here
  % with mkoctfile; Octave's build makes every module an oct-file) plus the
  % host calls the call makes (the same "rand" and "randn" blocks drawn in
  % m-code, and any "sort" of the data).  excess = module - nop - fetches is
  % what the module itself costs a call.  Microseconds per call, medians of reps
  % runs, the four loops timed in turn.
  if nargin < 1, reps = 7; end
  n = 2000;
  here = fileparts(mfilename('fullpath'));
  tmp = tempname(); mkdir(tmp);
  cleanup = onCleanup(@() confirm_recursive_rmdir(false, 'local') || rmdir(tmp, 's'));
  [status, out] = system(sprintf('"%s" -o "%s" "%s" 2>&1', mkoctfile_path(), ...
                                 fullfile(tmp, 'oct_nop.oct'), fullfile(here, 'oct_nop.cc')));
  if status != 0, error('calls_table: mkoctfile failed: %s', out); end
  c = calls();
  % Every module of the manifest has its row, and no row names another.
  m = bayesmex_manifest(fullfile(here, '..', 'manifest.txt'));
  names = cellfun(@(call) strtok(call, '('), c(:, 1), 'UniformOutput', false);
  if !isempty(setxor(names, {m.modules.name}))
    error('calls_table: rows and manifest modules differ: %s', strjoin(setxor(names, {m.modules.name}), ', '));
  end
  addpath(tmp);
  unwind_protect
    rows = table_rows(c, n, reps, tmp);
  unwind_protect_cleanup
    rmpath(tmp);
  end_unwind_protect
end

function c = calls()
  % {module call, setup, m-code a user writes}; the setup runs once per loop.
  w = 'w = [0.2 0.3 0.5];';
  x = 'x = (1:10)'';';
  met = 'met = struct(''type'', ''metric_euclidean'', ''lengthScale'', 1, ''components'', {{1:2}}, ''deltadist'', false); X = [0 0; 3 4];';
  c = {'psi_eval(2.5)', '', 'psi(2.5)';
       'hyptan_fast(2.5)', '', 'tanh(2.5)';
       'meanshape_draw(2, 5)', '', '(2*2/5)*randg(5/2)';
       'meanshape_draw1(2, 5)', '', '(2*2/5)*randg(5/2)';
       'invchisq_draw(1.5, 5)', '', '5*1.5/(2*randg(5/2))';
       'invchisq_draw1(1.5, 5)', '', '5*1.5/(2*randg(5/2))';
       'studentt_draw(5)', '', 'randn()/sqrt(2*randg(5/2)/5)';
       'exponential_draw(2.5)', '', '-2.5*log(rand())';
       'simplex_draw(3)', '', 'g = -log(rand(3,1)); g/sum(g)';
       'hyperscale_draw1(2, 10, 0, 1, 1)', '', '(2*10/2)/randg(10/2)';
       'particles_multinomial(w)', w, 'lookup(cumsum(w)/sum(w), rand(1,3)) + 1';
       'particles_residual(w)', w, 'e = 3*w/sum(w); k = floor(e); c = cumsum(e - k); [repelem(1:3, k), lookup(c/c(end), rand(1, 3 - sum(k))) + 1]';
       'particles_stratified(w)', w, 'min(lookup(3*cumsum(w)/sum(w), (0:2) + rand(1,3)) + 1, 3)';
       'particles_systematic(w)', w, 'min(lookup(3*cumsum(w)/sum(w), (0:2) + rand) + 1, 3)';
       'particles_deterministic(w)', w, 'e = 3*w/sum(w); k = floor(e); repelem(1:3, k + diff([0, floor(cumsum(e - k) + 0.5)]))';
       'particles_weights([-1 -2 -3])', '', 'lw = [-1 -2 -3]; v = exp(lw - max(lw)); v/sum(v)';
       'weightboot_average(x)', x, 'g = -log(rand(10,1)); (g''*x)/sum(g)';
       'weightboot_quantile(x, 50)', x, 'g = -log(rand(10,1)); c = cumsum(g/sum(g)); interp1(c, x, 0.5)';
       'metric_pairwise(met, X)', met, 'sqrt(sumsq(X(1,:) - X(2,:)))';
       'bayesmex_seed(1, 1)', '', 'rand(''state'', 1); randn(''state'', 1)'};
end

function rows = table_rows(c, n, reps, dir)
  rows = [];
  for k = 1:size(c, 1)
    [call, setup, alt] = c{k, :};
    name = strtok(call, '(');
    nop = ['oct_nop' call(numel(name) + 1:end)];
    % The host fetches of one call, through the counting wrappers (a
    % shadowed rand takes call-backs on every host, so they see each block).
    % bayesmex_seed fetches no value: its host calls set the two full states.
    if strcmp(name, 'bayesmex_seed')
      ncb = 2; fetch = 'rand(''state'', s); randn(''state'', s);';
      setup = 's = uint32(1:625)'';';
    else
      [ncb, blocks] = count_callbacks(@() run_once(setup, call));
      fetch = [repeat('rand(%d,1); ', blocks.rand), repeat('randn(%d,1); ', blocks.randn)];
      % The other host calls are weightboot_quantile's "sort" of its data.
      sorts = ncb - numel(blocks.rand) - numel(blocks.randn);
      fetch = [fetch, repmat('sort(x); ', 1, sorts)];
    end
    f = {loop_function(dir, sprintf('calls_m%d', k), setup, ['r = ' call ';']), ...
         loop_function(dir, sprintf('calls_a%d', k), setup, [alt ';']), ...
         loop_function(dir, sprintf('calls_n%d', k), setup, ['r = ' nop ';']), ...
         loop_function(dir, sprintf('calls_f%d', k), setup, fetch)};
    t = zeros(reps, 4);
    for j = 1:4, f{j}(10, 1); end
    for r = 1:reps
      for j = 1:4, t(r, j) = f{j}(n, 1); end
    end
    us = 1e6 * median(t, 1) / n;
    rows = [rows, struct('call', call, 'us', us(1), 'alt', alt, 'alt_us', us(2), ...
                         'ratio', us(1) / us(2), 'nop_us', us(3), 'fetch_us', us(4), ...
                         'excess_us', us(1) - us(3) - us(4), 'callbacks', ncb)];
  end
end

function s = repeat(format, values)
  s = '';
  if !isempty(values), s = sprintf(format, values); end
end

function run_once(setup, call)
  eval([setup ' r = ' call ';']);
end

function p = mkoctfile_path()
  p = fullfile(OCTAVE_HOME(), 'bin', 'mkoctfile');
  if !exist(p, 'file'), p = 'mkoctfile'; end
end
