function rows = bench_particles_weights(reps)
  % Weights, effective sample size and log-mean from log-weights, against
  % the m-code a particle filter carries for it.
  rows = [];
  for n = [1e3 1e6]
    randn('state', 3);
    lw = 30 * randn(n, 1) - 500;
    rows = [rows, bench_row('particles_weights', sprintf('n = %g, three outputs', n), n, ...
                            @() out3(@particles_weights, lw), ...
                            'm=max(lw); e=exp(lw-m); s=sum(e); w=e/s; ...', ...
                            @() out3(@weights_m, lw), reps, 0)];
  end
end

function out3(f, lw)
  [w, ess, lm] = f(lw);
end

function [w, ess, lm] = weights_m(lw)
  m = max(lw);
  e = exp(lw - m);
  s = sum(e);
  w = e / s;
  ess = 1 / sum(w.^2);
  lm = m + log(s / numel(lw));
end
