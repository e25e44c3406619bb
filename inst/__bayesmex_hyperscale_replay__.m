function [y, seen] = __bayesmex_hyperscale_replay__(a, b, c, d, e)
  % One draw of hyperscale_draw1(a, b, c, d, e) replayed in m-code, one value
  % of rand() at a time: adaptive rejection sampling from the tangents of the
  % log-density of x = -log(y) (Gilks and Wild 1992).  The sampling plan is
  % made here too: the start y = a with the base step log(1 + 1/sqrt(b));
  % where h is not finite there, the start at the mode with the law's width
  % as the step; for very narrow laws (log-curvature above 23) the centred
  % form t = x - x* around the rounded mode x*.  Every operation is written
  % in the module's order, and exp, expm1 and log are the C library's, so
  % the draw agrees bit for bit and takes as many values of rand().
  %
  % seen tells what the draw went through: the plan ('a', 'mode' or
  % 'centred'), its start x0 and step, the most evaluations one bracketing
  % search made (probes), the probes pulled back where h was not finite
  % (pulled), proposals, proposals from an inner piece of the hull, and the
  % most nodes the hull held.  Internal to the tests.
  [f, x0, step, seen] = plan(a, b, c, d, e);
  [h0, d0] = f(x0);

  % The bracketing searches: probes at x0 -+ (2^k - 1) step until h falls
  % (the slope has the right sign beyond 1e-9) 0.1 below the running maximum
  % G, which carries over from the left search to the right one.
  % Each search makes at most 4400 evaluations, as the module's.
  h = h0; dh = d0; cx = x0; G = h; n = 0;
  while dh < 1e-9 || h > G - 0.1
    [cx, h, dh, n, seen] = probe(f, cx, cx - ((x0 - cx) + step), n, seen);
    if h > G, G = h; end
  end
  X = cx; S = dh; I = h - cx * dh;
  h = h0; dh = d0; cx = x0; n = 0;
  while dh > -1e-9 || h > G - 0.1
    [cx, h, dh, n, seen] = probe(f, cx, cx + (cx - x0) + step, n, seen);
    if h > G, G = h; end
  end
  X(2) = cx; S(2) = dh; I(2) = h - cx * dh;
  % Node i (in ascending abscissa) owns the piece [Z(i-1), Z(i)]; the last
  % node's Z is never read.
  Z = [(I(2) - I(1)) / (S(1) - S(2)), NaN];

  % At most 100000 rejections, as the module.
  for rejections = 0:100000
    assert(rejections < 100000, '__bayesmex_hyperscale_replay__: 100000 rejections');
    n = numel(S);
    % Masses of the pieces, each scaled by exp(-M), M the hull maximum.
    M = S(1) * Z(1) + I(1);
    for i = 2:n-1
      t = S(i) * Z(i) + I(i);
      if t > M, M = t; end
    end
    m = zeros(1, n);
    m(1) = exp(S(1) * Z(1) + I(1) - M) / S(1);
    T = m(1);
    for i = 2:n-1
      m(i) = (exp(S(i) * Z(i) + I(i) - M) - exp(S(i) * Z(i-1) + I(i) - M)) / S(i);
      T = T + m(i);
    end
    m(n) = -exp(S(n) * Z(n-1) + I(n) - M) / S(n);
    T = T + m(n);

    % Piece by sequential subtraction, position by inversion on the piece.
    r = rand() * T;
    k = 1;
    while k < n
      r = r - m(k);
      if r >= 0, k = k + 1; else, break; end
    end
    v = rand();
    if k == 1
      yx = Z(1) + log(v) / S(1);
    elseif k == n
      yx = Z(n-1) + log(v) / S(n);
    else
      E = exp((Z(k-1) - Z(k)) * abs(S(k)));
      L = log(E * (1 - v) + v);
      if S(k) > 0, yx = L / S(k) + Z(k); else, yx = L / S(k) + Z(k-1); end
      seen.inner = seen.inner + 1;
    end
    seen.proposals = seen.proposals + 1;

    [hy, dy] = f(yx);
    if exp(hy - S(k) * yx - I(k)) >= rand()
      if strcmp(seen.plan, 'centred'), y = exp(-seen.mode) * exp(-yx); else, y = exp(-yx); end
      return;
    end

    % Rejected: the proposal's tangent joins the hull unless the pool of 100
    % is full or it is (nearly) flat or parallel to its piece's or a
    % neighbour's.
    iy = hy - yx * dy;
    if n < 100 && abs(dy) > 1e-9 && abs(dy - S(k)) > 1e-9 ...
       && (k == 1 || abs(dy - S(k-1)) > 1e-9) && (k == n || abs(dy - S(k+1)) > 1e-9) ...
       && isfinite(iy) && isfinite(dy)
      p = k - (X(k) > yx);          % the new node goes after node p (0: first)
      X = [X(1:p), yx, X(p+1:end)];
      S = [S(1:p), dy, S(p+1:end)];
      I = [I(1:p), iy, I(p+1:end)];
      Z = [Z(1:p), 0, Z(p+1:end)];
      if p > 0, Z(p) = (I(p+1) - I(p)) / (S(p) - S(p+1)); end
      if p + 1 < numel(S), Z(p+1) = (I(p+2) - I(p+1)) / (S(p+1) - S(p+2)); end
      seen.nodes = max(seen.nodes, numel(S));
    end
  end
end

function [f, x0, step, seen] = plan(a, b, c, d, e)
  % The mode x of h and its curvature kappa = A + B, A = (chi/2) e^x and
  % B = (psi/2) e^-x, in logarithms: e^x solves chi s^2 + 2 lambda s - psi = 0,
  % taken in the form without cancellation for either sign of lambda.
  lchi = log(abs(a)) + log(abs(b));
  lpsi = log(abs(c)) + log(abs(e)) - log(abs(d));
  lambda = -0.5 * (b - e * c);
  q = 0.5 * (lchi + lpsi);
  if lambda >= 0, x = lpsi - log_root(lambda, q); else, x = log_root(lambda, q) - lchi; end
  lA = log(0.5) + lchi + x; lB = log(0.5) + lpsi - x;
  top = max(lA, lB);
  lk = top + log(exp(lA - top) + exp(lB - top));
  assert(isfinite(x) && lk < 700, '__bayesmex_hyperscale_replay__: the law is too extreme');
  width = min(1, exp(-0.5 * lk));
  inv_a = 1 / a; bce = b - e * c; eod = (1 / d) * e;
  A = exp(lA); B = exp(lB); r = B - A - lambda;
  seen = struct('plan', 'centred', 'x0', 0, 'step', width, 'mode', x, 'probes', 0, 'pulled', 0, ...
                'proposals', 0, 'inner', 0, 'nodes', 2);
  if lk > 23
    f = @(t) logq(t, A, B, r);
  else
    f = @(x) logp(x, inv_a, bce, b, c, eod);
    seen.plan = 'a'; seen.x0 = log(inv_a); seen.step = log(1 + 1 / sqrt(b));
    if !usable(f, seen.x0, seen.step)
      seen.plan = 'mode'; seen.x0 = x; seen.step = width;
    end
  end
  x0 = seen.x0; step = seen.step;
  assert(usable(f, x0, step), '__bayesmex_hyperscale_replay__: no usable start');
end

function r = log_root(l, q)
  % log(|l| + sqrt(l^2 + exp(2 q))) without overflow.
  if l == 0, r = q; return; end
  ll = log(abs(l)); m = max(ll, q);
  u = exp(ll - m); w = exp(q - m);
  r = m + log(u + sqrt(u * u + w * w));
end

function ok = usable(f, x0, step)
  % The C library's log and sqrt of a negative number are NaN, m-code's complex.
  % The first probes must move: x0 -+ step differ from x0.
  ok = isreal(x0) && isreal(step) && isfinite(x0) && isfinite(step) && step > 0 ...
       && x0 - step != x0 && x0 + step != x0;
  if ok, [h, dh] = f(x0); ok = isfinite(h) && isfinite(dh); end
end

function [h, dh] = logp(x, inv_a, bce, b, c, eod)
  % h(x) = (b - c e) x / 2 - (a b / 2) e^x - (c e / (2 d)) e^-x and h'(x).
  % A term whose factor is zero is zero, also where exp(x) overflows or
  % underflows (there it would be inf/inf, 0*inf or 0/0).
  s = exp(x);
  up = s * b / (2 * inv_a);
  if isnan(up), up = 0; end
  psi = c * eod;
  if psi == 0, down = psi; else, down = psi / (2 * s); end
  dh = 0.5 * bce - up + down;
  h = (x * bce * 0.5 - up) - down;
end

function [h, dh] = logq(t, A, B, r)
  % The centred form h(x* + t) - h(x*) = r t - A phi(t) - B phi(-t),
  % phi(t) = e^t - 1 - t, and its derivative.
  h = r * t; dh = r;
  if A > 0, h = h - A * phi(t); dh = dh - A * expm1(t); end
  if B > 0, h = h - B * phi(-t); dh = dh + B * expm1(-t); end
end

function s = phi(t)
  % e^t - 1 - t, by its Taylor series to the term t^21 / 21! below 1/2.
  if abs(t) >= 0.5, s = expm1(t) - t; return; end
  term = t * t / 2; s = term;
  for k = 3:21, term = term * (t / k); s = s + term; end
end

function [x, h, dh, n, seen] = probe(f, from, x, n, seen)
  % A probe where h or h' is not finite is pulled back halfway toward the
  % last finite point, as often as needed; n counts the search's evaluations.
  gap = x - from;
  if !isfinite(gap), gap = sign(gap) * realmax; end
  while true
    n = n + 1;
    assert(n <= 4400, '__bayesmex_hyperscale_replay__: no bracket');
    seen.probes = max(seen.probes, n);
    if isfinite(x)
      [h, dh] = f(x);
      if isfinite(h) && isfinite(dh), return; end
    end
    seen.pulled = seen.pulled + 1;
    gap = gap * 0.5;
    x = from + gap;
    assert(x != from, '__bayesmex_hyperscale_replay__: no bracket');
  end
end
