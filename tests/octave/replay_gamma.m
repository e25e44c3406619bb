function g = replay_gamma(a)
  % The one-value-at-a-time gamma algorithm in m-code: Best (1978) for
  % shapes above 1, the boost u^(1/a) * gamma(1 + a) at or below 1; shapes
  % below 1e-5 and NaN come back unchanged, shapes too large for Best's
  % method give the limit, the shape itself.
  if !(a >= 1e-5) || 3 * a - 0.75 > realmax / 8
    g = a; return;
  elseif a <= 1
    u = rand(); g = u ^ (1 / a) * replay_gamma(1 + a);
  elseif a < 1.00001
    g = -log(rand());
  else
    b = a - 1; c = 3 * a - 0.75;
    while true
      u = rand(); v = rand();
      w = (1 - u) * u; y = sqrt(c / w) * (u - 0.5); x = b + y;
      if x < 0, continue; end
      z = 64 * w * w * w * v * v;
      if 1 - (2 * y * y) / x >= z, break; end
      if 2 * (b * log(x / b) - y) >= log(z), break; end
    end
    g = x;
  end
  if g < 1e-15 && g < a, g = min(a, 1e-15); end
end
