function y = __bayesmex_draws__(n, seed, f, varargin)
  % Y = __bayesmex_draws__(N, SEED, F, ARGS...): N single draws F(ARGS...)
  % in a column, from rand('state', SEED), as a Gibbs loop makes them.
  % Internal to the tests.
  rand('state', seed);
  y = zeros(n, 1);
  for i = 1:n, y(i) = f(varargin{:}); end
end
