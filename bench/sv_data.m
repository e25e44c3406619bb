function [y, N] = sv_data()
  % The demo particle filter's model and sizes (T = 250 observations, N =
  % 2000 particles): a simulated log-volatility path and its observations
  % with Student-t noise, made in m-code from fixed generator states, for
  % the filters of workloads_table and peers_table.
  T = 250; N = 2000;
  m = -1; phi = 0.97; s = 0.4; nu = 5;
  rand('state', 3); randn('state', 3); randg('state', 3);
  x = zeros(T, 1); x(1) = m + s / sqrt(1 - phi^2) * randn();
  for t = 2:T, x(t) = m + phi * (x(t - 1) - m) + s * randn(); end
  y = exp(x / 2) .* randn(T, 1) ./ sqrt(2 * randg(nu / 2, T, 1) / nu);
end
