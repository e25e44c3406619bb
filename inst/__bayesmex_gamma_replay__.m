function g = __bayesmex_gamma_replay__(a)
  % G = __bayesmex_gamma_replay__(A): one gamma variate of shape A and scale 1
  % from the host's "rand", by the samplers' one-value-at-a-time algorithm in
  % m-code (Best 1978 for A > 1, the boost u^(1/A) for A <= 1), so a test can
  % compare values and stream position bit for bit.  Shapes below 1e-5 and
  % NaN come back unchanged; shapes too large for Best's method give the
  % limit, the shape itself.  Internal to the tests.
  if !(a >= 1e-5) || 3 * a - 0.75 > realmax / 8
    g = a; return;
  elseif a <= 1
    u = rand(); g = u ^ (1 / a) * __bayesmex_gamma_replay__(1 + a);
  elseif a < 1.00001
    g = -log(rand());
  else
    b = a - 1; c = 3 * a - 0.75;
    % Best's pass accepts more often than not: a bound no correct run reaches,
    % so a wrong constant fails at once instead of looping on.
    for pass = 1:100001
      assert(pass <= 100000, '__bayesmex_gamma_replay__: 100000 passes rejected');
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
