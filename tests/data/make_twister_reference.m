% Prints the reference rows of tests/unit/test_twister.cpp from this
% machine's Octave: octave-cli --no-history make_twister_reference.m
% Each set-up seeds one generator, then draws rand(n, 1) or randn(n, 1) for
% each n in turn; a row is n, an offset in that draw and its value's bits,
% a hash of the draw's values and one of the state after it (both below).
function make_twister_reference ()
  sizes = [0 1 311 312 1 0 155 1000000];
  near_zero = [2^31; zeros(623, 1); 1];  % word 0's top bit: long runs of zero pairs
  % The seed-42 state at its second word, which tempers to 1, then 0: a
  % first attempt of magnitude zero with the sign bit set, +0.0.
  randn ('twister', 42);
  signed_zero = double (randn ('state'));
  signed_zero([2 3 625]) = [hex2dec('102244c9') 0 624];
  setups = {'uniform', 'twister 42', @() rand ('twister', 42), @rand, sizes;
            'normal', 'twister 42', @() randn ('twister', 42), @randn, sizes;
            'uniform', 'near zero', @() rand ('state', near_zero), @rand, [2000 100000];
            'normal', 'near zero', @() randn ('state', near_zero), @randn, [2000 100000];
            'normal', 'zero', @() randn ('state', [zeros(624, 1); 300]), @randn, [1000];
            'normal', 'signed zero', @() randn ('state', signed_zero), @randn, [16]};
  for k = 1:rows (setups)
    [kind, name, seed, f, ns] = setups{k, :};
    seed ();
    printf ('    // %s, %s\n', kind, name);
    for n = ns
      x = f (n, 1);
      s = f ('state');
      % The offset: the draw's first tail value (beyond the ziggurat's r),
      % else its first zero, else its last value.
      at = find (abs (x) > 3.6541528853610088, 1) - 1;
      if (isempty (at))
        at = find (x == 0, 1) - 1;
      end
      if (isempty (at))
        at = max (n - 1, 0);
      end
      bits = '0';
      if (n > 0)
        bits = sprintf ('0x%s', num2hex (x(at + 1)));
      end
      printf ('    {%d, %d, %s, %.0f, %.0f, %d},\n', n, at, bits, value_hash (x), ...
              sum ((1:625)' .* double (s)), s(625));
    end
  end
end

% The value hash: the doubles' 32-bit halves w(j), low half first,
% j = 0, 1, ...: sum over j of mod (w(j) (mod (j, 65521) + 1), 2^31 - 1),
% mod 2^31 - 1.  Every step is exact in double arithmetic.
function h = value_hash (x)
  p = 2147483647;
  w = double (typecast (x(:), 'uint32'))(:);
  c = mod ((0:numel (w) - 1)', 65521) + 1;
  h = mod (sum (mod (w .* c, p)), p);
end
