function [y, seen] = __bayesmex_hyperscale_replay__(a, b, c, d, e)
  % One draw of hyperscale_draw1(a, b, c, d, e) replayed in m-code, one value
  % of rand() at a time: adaptive rejection sampling from the tangents of the
  % log-density of x = -log(y) (Gilks and Wild 1992), started at y = a with
  % the base step log(1 + 1/sqrt(b)), as the module starts every law that is
  % neither very narrow (sampled in a centred form) nor unusable at y = a;
  % the replay covers those laws only.  Every operation is written in the
  % module's order, and exp and log are the C library's, so the draw agrees
  % bit for bit and takes as many values of rand().
  %
  % seen counts what the draw went through: proposals, proposals from an
  % inner piece of the hull, and the most nodes the hull held.  Internal to
  % the tests.
  inv_a = 1 / a; bce = b - e * c; eod = (1 / d) * e;
  f = @(x) logp(x, inv_a, bce, b, c, eod);
  x0 = log(inv_a); step = log(1 + 1 / sqrt(b));
  [h0, d0] = f(x0);
  assert(isfinite(x0) && isfinite(step) && step > 0 && isfinite(h0) && isfinite(d0), ...
         '__bayesmex_hyperscale_replay__: the law does not start at y = a');

  % The bracketing searches: probes at x0 -+ (2^k - 1) step until h falls
  % (the slope has the right sign beyond 1e-9) 0.1 below the running maximum
  % G, which carries over from the left search to the right one.
  h = h0; dh = d0; cx = x0; G = h;
  while dh < 1e-9 || h > G - 0.1
    [cx, h, dh] = probe(f, cx, cx - ((x0 - cx) + step));
    if h > G, G = h; end
  end
  X = cx; S = dh; I = h - cx * dh;
  h = h0; dh = d0; cx = x0;
  while dh > -1e-9 || h > G - 0.1
    [cx, h, dh] = probe(f, cx, cx + (cx - x0) + step);
    if h > G, G = h; end
  end
  X(2) = cx; S(2) = dh; I(2) = h - cx * dh;
  % Node i (in ascending abscissa) owns the piece [Z(i-1), Z(i)]; the last
  % node's Z is never read.
  Z = [(I(2) - I(1)) / (S(1) - S(2)), NaN];

  seen = struct('proposals', 0, 'inner', 0, 'nodes', 2);
  while true
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
      y = exp(-yx);
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

function [h, dh] = logp(x, inv_a, bce, b, c, eod)
  % h(x) = (b - c e) x / 2 - (a b / 2) e^x - (c e / (2 d)) e^-x and h'(x).
  s = exp(x);
  dh = 0.5 * bce - s * b / (2 * inv_a) + c * eod / (2 * s);
  h = (x * bce * 0.5 - s * b / (2 * inv_a)) - c * eod / (2 * s);
end

function [x, h, dh] = probe(f, from, x)
  % A probe where h or h' is not finite is pulled back halfway toward the
  % last finite point, as often as needed.
  gap = x - from;
  if !isfinite(gap), gap = sign(gap) * realmax; end
  while true
    if isfinite(x)
      [h, dh] = f(x);
      if isfinite(h) && isfinite(dh), return; end
    end
    gap = gap * 0.5;
    x = from + gap;
    assert(x != from, '__bayesmex_hyperscale_replay__: no bracket');
  end
end
