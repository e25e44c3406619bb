function test_results()
  % Large results are made in an interpreter value's own storage, handed
  % back without a copy; small ones as the host makes them.  Both must hold
  % the same elements in the same shape, every dimension kept.
  x = reshape(linspace(-20, 20, 6000), 10, 30, 20);
  for f = {@hyptan_fast, @psi_eval}
    big = f{1}(x);
    small = zeros(size(x));
    for k = 1:size(x, 3)
      small(:, :, k) = f{1}(x(:, :, k));  % 300 elements each
    end
    assert(isequal(size(big), size(x)) && isequal(big, small), func2str(f{1}));
    big(1) = 7;  % the result is the caller's alone
    assert(isequal(f{1}(x)(1), small(1)));
  end
  % A drawing module's result array and the generator after it.
  rand('state', 4); a = exponential_draw(2, 3000, 2); ra = rand();
  rand('state', 4); b = zeros(3000, 2);
  for k = 1:6
    b((k - 1) * 1000 + (1:1000)) = exponential_draw(2, 1000, 1);
  end
  rb = rand();
  assert(isequal(a, b) && ra == rb);
end
