function test_chains()
  % K = 4 chains of bayesmex_gibbs, each seeded by bayesmex_seed, draw
  % bit-identical values serially and with parcellfun on 2 processes (the
  % seeds themselves are checked by bayesmex_seed's test blocks).
  if isempty(pkg('list', 'parallel'))
    warning('package parallel not installed: parcellfun part skipped');
    return;
  end
  out = bayesmex_chains_demo(2026, 4, 300);
  assert(numel(out.local) == 4 && out.identical, 'parcellfun chains differ from the serial ones');
  assert(!isequal(out.serial{1}, out.serial{2}), 'two chains drew the same values');
end
