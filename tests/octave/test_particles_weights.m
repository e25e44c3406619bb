function test_particles_weights()
  % particles_weights against the m-code a user writes: the weights bit for
  % bit, the effective sample size and the log of the mean weight to
  % rounding, far outside exp's range, and its refusals.
  rand('state', 3); randn('state', 3);
  for shape = {[1 50], [50 1], [7 9], [3 4 5]}
    lw = 40 * randn(shape{1}) - 2000;
    lw(rand(shape{1}) < 0.2) = -Inf;
    [w, ess, lm] = particles_weights(lw);
    e = exp(lw - max(lw(:)));
    assert(isequal(w, e / sum(e(:))));
    assert(abs(ess - 1 / sum(w(:).^2)) <= 1e-13 * ess);
    assert(abs(lm - (max(lw(:)) + log(mean(e(:))))) <= 1e-12 * abs(lm));
  end
  % Where exp does not underflow, the plain formulas.
  lw = randn(1, 1000);
  [w, ess, lm] = particles_weights(lw);
  assert(abs(lm - log(mean(exp(lw)))) < 1e-13);
  assert(abs(ess - 1 / sum((exp(lw) / sum(exp(lw))).^2)) < 1e-10);
  assert(isequal(particles_weights([5 -Inf]), [1 0]));
  expect_error(@() particles_weights([0 NaN]), 'Log-weights must not be NaN or +Inf.');
  expect_error(@() particles_weights([0 Inf]), 'Log-weights must not be NaN or +Inf.');
  expect_error(@() particles_weights(-Inf(3, 1)), 'Log-weights must not all be -Inf.');
  expect_error(@() particles_weights([]), 'Log-weights must not be empty.');
  expect_error(@() particles_weights([0 1i]), 'Input 1 must be real.');
  expect_error(@() particles_weights(single(1)), 'Input 1 must be a full double array, not single.');
  try
    particles_weights([0 NaN]);
  catch err
    assert(strcmp(err.identifier, 'bayesmex:particles_weights:badWeight'), err.identifier);
  end
end
