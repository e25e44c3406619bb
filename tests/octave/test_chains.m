function test_chains()
  % bayesmex_seed gives each chain full generator states that follow from
  % (seed, k) alone, and K = 4 chains of bayesmex_gibbs draw bit-identical
  % values serially and with parcellfun on 2 processes.
  [su, sn] = bayesmex_seed(2026, 3);
  assert(isequal(size(su), [625 1]) && isequal(rand('state'), su) && isequal(randn('state'), sn));
  a = [rand(1, 5) randn(1, 5)];
  rand('state', 1); randn('state', 1);
  bayesmex_seed(2026, 3);
  assert(isequal(a, [rand(1, 5) randn(1, 5)]));
  bayesmex_seed(2026, 4); b = rand(1, 5);
  bayesmex_seed(2027, 3); c = rand(1, 5);
  assert(!isequal(a(1:5), b) && !isequal(a(1:5), c) && !isequal(b, c));
  expect_error(@() bayesmex_seed(1, -1), 'SEED and K must be whole numbers from 0 to 2^53.');
  expect_error(@() bayesmex_seed(1), 'Wrong number of input arguments.');

  if isempty(pkg('list', 'parallel'))
    warning('package parallel not installed: parcellfun part skipped');
    return;
  end
  out = bayesmex_chains_demo(2026, 4, 300);
  assert(numel(out.local) == 4 && out.identical, 'parcellfun chains differ from the serial ones');
  assert(!isequal(out.serial{1}, out.serial{2}), 'two chains drew the same values');
end
