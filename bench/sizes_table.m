function rows = sizes_table(reps)
  % The size table: every sampler, weightboot_average, psi_eval and
  % hyptan_fast at n = 1, 10, 100, 1000, 1e4 and 1e6 values per call, and
  % every resampling scheme with N weights to N indices at N = 100 to 1e5,
  % each against the m-code a user writes for the same call.  A model's
  % inner step calls with one value, a few tens, or N particles, so a
  % ratio at 1e6 alone says little about it.
  %
  % Each cell times a loop of many calls in a function file (loop_function:
  % the module's loop and the m-code's, written once, with the data made
  % before the clock starts), the two loops in turn, reps times; the figures
  % are medians of process CPU time per call.  The loop makes about 2e5
  % values' worth of calls (one call at 1e6), so that each loop takes a few
  % milliseconds at every size.
  %
  % rows(k): name (the module call), what (the m-code), n, values (values
  % made per call), calls, us (module, per call), alt_us (m-code, per call)
  % and ratio = us / alt_us.
  if nargin < 1, reps = 7; end
  tmp = tempname(); mkdir(tmp);
  cleanup = onCleanup(@() confirm_recursive_rmdir(false, 'local') || rmdir(tmp, 's'));
  addpath(tmp);
  unwind_protect
    rows = [];
    c = size_cases();
    for k = 1:size(c, 1)
      [name, setup, call, alt, per_n, ns] = c{k, :};
      % One pair of loops per case: the size is their argument.
      f_mod = loop_function(tmp, sprintf('sizes_m%d', k), setup, ['r = ' call ';']);
      f_alt = loop_function(tmp, sprintf('sizes_a%d', k), setup, alt);
      for j = 1:numel(ns)
        n = ns(j);
        calls = ceil(2e5 / (n + 100));
        f_mod(2, n); f_alt(2, n);  % warm-up: parse, first allocation
        t = zeros(reps, 2);
        for r = 1:reps
          t(r, 1) = f_mod(calls, n);
          t(r, 2) = f_alt(calls, n);
        end
        t = median(t, 1) / calls;
        rows = [rows, struct('name', name, 'call', shown(call, setup), 'what', shown(alt), 'n', n, ...
                             'values', per_n * n, 'calls', calls, 'us', 1e6 * t(1), ...
                             'alt_us', 1e6 * t(2), 'ratio', t(1) / t(2))];
      end
    end
  unwind_protect_cleanup
    rmpath(tmp);
  end_unwind_protect
end

function s = shown(code, setup)
  % The code as the table shows it: no "r = ", no last semicolon, and the
  % setup that makes its data.
  s = regexprep(code, {'(^|; )r = ', ';$'}, {'$1', ''});
  if nargin > 1 && !isempty(setup), s = [s ', ' regexprep(setup, ';$', '')]; end
end

function c = size_cases()
  % {module, setup, module call, m-code a user writes, values per n, sizes}.
  % The setup makes the call's data once per loop, outside the clock.  The
  % resampling m-code is bench_particles' and calls_table's, with N
  % indices from N weights.
  sizes = [1 10 100 1e3 1e4 1e6];
  particles = [100 1e3 1e4 1e5];
  w = 'w = rand(n, 1);';
  c = {'meanshape_draw', 'mu = 1 + rand(n, 1);', 'meanshape_draw(mu, 5)', ...
       'r = (2*mu/5).*randg(2.5,n,1);', 1, sizes;
       'invchisq_draw', '', 'invchisq_draw(1.5, 5, n, 1)', ...
       'r = 5*1.5./(2*randg(5/2,n,1));', 1, sizes;
       'studentt_draw', '', 'studentt_draw(5, n, 1)', ...
       'r = randn(n,1)./sqrt(2*randg(5/2,n,1)/5);', 1, sizes;
       'exponential_draw', '', 'exponential_draw(2.5, n, 1)', ...
       'r = -2.5*log(rand(n,1));', 1, sizes;
       'simplex_draw', '', 'simplex_draw(3, n)', ...
       'x = -log(rand(3,n)); r = x./sum(x);', 3, sizes;
       'weightboot_average', 'x = randn(n, 1);', 'weightboot_average(x)', ...
       'g = -log(rand(n,1)); r = (g''*x)/sum(g);', 1, sizes;
       'psi_eval', 'x = 10*rand(n, 1);', 'psi_eval(x)', 'r = psi(x);', 1, sizes;
       'hyptan_fast', 'x = 5*randn(n, 1);', 'hyptan_fast(x)', 'r = tanh(x);', 1, sizes;
       'particles_multinomial', w, 'particles_multinomial(w, n, 1)', ...
       'r = lookup(cumsum(w)/sum(w), rand(n,1)) + 1;', 1, particles;
       'particles_residual', w, 'particles_residual(w, n, 1)', ...
       ['e = w/sum(w)*n; k = floor(e); R = n - sum(k); c = cumsum((e - k)/R); c(end) = 1; ' ...
        'r = [repelem((1:n)'', k); lookup(c, rand(R,1)) + 1];'], 1, particles;
       'particles_stratified', w, 'particles_stratified(w, n, 1)', ...
       'r = min(lookup(cumsum(w)/sum(w)*n, (0:n-1)''+rand(n,1)) + 1, n);', 1, particles;
       'particles_systematic', w, 'particles_systematic(w, n, 1)', ...
       'r = min(lookup(n*cumsum(w)/sum(w), (0:n-1)''+rand) + 1, n);', 1, particles;
       'particles_deterministic', w, 'particles_deterministic(w, n, 1)', ...
       ['e = w/sum(w)*n; k = floor(e); ' ...
        'r = repelem((1:n)'', k + diff([0; floor(cumsum(e - k) + 0.5)]));'], 1, particles};
end
