function test_hyperscale_draw1()
  % Draws against closed-form and numerically integrated laws (Kolmogorov-
  % Smirnov on fixed seeds; 1.95/sqrt(n) has a false-alarm rate about 1e-3,
  % so a seed either always passes or always fails), refusals through
  % Octave, and draws and stream against a one-value-at-a-time replay.
  n = 4000;

  % c = 0 or e = 0: inverse gamma, shape b/2 and scale a*b/2.
  cases = [2 10 0 1 1; 0.5 3 0 1 1; 1 1 7 2 0; 30 0.4 0 -2 5];
  for k = 1:rows(cases)
    p = cases(k, :); a = p(1); b = p(2);
    y = draws(p, n, 200 + k);
    F = gammainc(a * b ./ (2 * y), b / 2, 'upper');
    check_ks(F, sprintf('inverse gamma %s', mat2str(p)));
  end

  % a*b = 0: gamma, shape lambda = (c*e - b)/2 and rate c*e/(2 d).
  p = [0 1 2 1 1];
  check_ks(gammainc(draws(p, n, 300) * 2 / 2, 0.5), 'gamma [0 1 2 1 1]');

  % General laws against the density integrated on a fine grid in x = -log y.
  cases = [1 2 3 4 5; -1 -2 1 1 1; 1 2 -1 -1 1; 0.01 1 1 100 0.5; 5 40 3 0.2 20];
  for k = 1:rows(cases)
    p = cases(k, :);
    y = draws(p, n, 400 + k);
    check_ks(gig_cdf(p, y), sprintf('law %s', mat2str(p)));
  end

  % Improper laws are refused at once (every message is checked on the
  % stand-in host; here Octave's own classes and error path).
  t0 = tic();
  expect_error(@() hyperscale_draw1(1, 2, 3, 0, 5), 'D must not be zero.');
  expect_error(@() hyperscale_draw1(1, 2, 3, 4), 'Wrong number of input arguments.');
  expect_error(@() hyperscale_draw1(1, 2, 3, 4, int8(5)), 'Input 5 must be a full double array, not int8.');
  assert(toc(t0) < 2, 'refusals must be quick');

  % The module against its replay in m-code, one value of rand() at a time:
  % the same draw bit for bit, and the generator left in the same place.
  % The laws reject enough for the hull to grow and inner pieces to be drawn.
  seen = struct('inner', 0, 'nodes', 0);
  for p = {[1 2 3 4 5], [2 10 0 1 1], [0.01 1 1 100 0.5], [5 40 3 0.2 20], [0.001 2 3 4 5]}
    q = num2cell(p{1});
    for s = 1:20
      rand('state', s); y1 = hyperscale_draw1(q{:}); next1 = rand();
      rand('state', s); [y2, st] = replay_hyperscale(q{:}); next2 = rand();
      assert(y1 == y2 && next1 == next2, sprintf('replay of %s, state %d', mat2str(p{1}), s));
      seen.inner += st.inner; seen.nodes = max(seen.nodes, st.nodes);
    end
  end
  assert(seen.inner > 100 && seen.nodes >= 10, 'the replays reach inner pieces and a grown hull');
end

function y = draws(p, n, seed)
  rand('state', seed);
  q = num2cell(p);
  y = zeros(n, 1);
  for i = 1:n, y(i) = hyperscale_draw1(q{:}); end
end

function check_ks(F, what)
  n = numel(F); F = sort(F(:));
  D = max(max((1:n)' / n - F), max(F - (0:n-1)' / n));
  assert(D < 1.95 / sqrt(n), sprintf('KS D = %g for %s', D, what));
end

function F = gig_cdf(p, y)
  % P(Y <= y) = P(X >= -log y) for the density of x = -log y,
  % exp(-lambda x - (chi/2) e^x - (psi/2) e^-x), on a fine grid around its mode.
  a = p(1); b = p(2); c = p(3); d = p(4); e = p(5);
  lambda = (c * e - b) / 2; chi = a * b; psi = c * e / d;
  h = @(x) -lambda * x - chi / 2 * exp(x) - psi / 2 * exp(-x);
  x = linspace(-60, 60, 600001);
  hx = h(x); w = exp(hx - max(hx));
  G = cumtrapz(x, w); G = G / G(end);             % P(X <= x)
  F = 1 - interp1(x, G, -log(y), 'linear');
end
