function rows = bench_hyperscale_draw1(reps)
  % hyperscale_draw1, one draw per call in a loop of 1000 calls: ns per call
  % against the m-code a user would otherwise write (the inverse gamma closed
  % form for c = 0, a grid inverse-CDF of the density in x = -log y for the
  % general law).  The case names the mean proposals per draw (call-backs
  % per draw: each proposal takes its three uniforms in one call-back); the
  % call-back column counts 1000 calls.
  n = 1000;
  sets = {[2 10 0 1 1], 'inverse gamma', @(p) (p(1)*p(2)/2) / randg(p(2)/2); ...
          [1 30 0 1 1], 'inverse gamma', @(p) (p(1)*p(2)/2) / randg(p(2)/2); ...
          [1 2 3 4 5], 'general', @gig_grid; ...
          [0.5 30 2 1 20], 'general', @gig_grid; ...
          [0.01 1 1 100 0.5], 'general', @gig_grid};
  rows = [];
  for k = 1:rows_of(sets)
    p = sets{k, 1}; q = num2cell(p); alt = sets{k, 3};
    rand('state', k);
    cb = count_callbacks(@() loop(@() hyperscale_draw1(q{:}), n));
    what = sprintf('%s, %.2f prop/draw', mat2str(p), cb / n);
    if strcmp(sets{k, 2}, 'inverse gamma')
      alt_text = '(a*b/2)/randg(b/2)';
    else
      alt_text = 'grid inverse CDF (m-code)';
    end
    rows = [rows, bench_row('hyperscale_draw1', what, n, ...
                            @() loop(@() hyperscale_draw1(q{:}), n), ...
                            alt_text, @() loop(@() alt(p), n), reps, cb)];
  end
end

function r = rows_of(c)
  r = size(c, 1);
end

function loop(f, n)
  for i = 1:n, f(); end
end

function y = gig_grid(p)
  % What a user might write: the density of x = -log y on a grid, its
  % cumulative sum, and one uniform through the inverse.
  a = p(1); b = p(2); c = p(3); d = p(4); e = p(5);
  lambda = (c * e - b) / 2; chi = a * b; psi = c * e / d;
  x = linspace(-15, 15, 2001);
  h = -lambda * x - chi / 2 * exp(x) - psi / 2 * exp(-x);
  F = cumsum(exp(h - max(h))); F = F / F(end);
  [F, i] = unique(F);
  y = exp(-interp1(F, x(i), rand(), 'linear', 'extrap'));
end
