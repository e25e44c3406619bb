function rows = bench_particles(reps)
  % The five resampling modules, n = 1e5 weights and T = 1e6 indices, against
  % the vectorised m-code a user would write (cumsum, lookup, repelem).
  n = 1e5; T = 1e6;
  rand('state', 3);
  w = rand(n, 1);
  rows = [];

  cb = count_callbacks(@() particles_multinomial(w, T, 1));
  rows = [rows, bench_row('particles_multinomial', 'n = 1e5, T = 1e6', T, ...
                          @() particles_multinomial(w, T, 1), ...
                          'lookup(cumsum(w)/sum(w),rand(T,1))+1', ...
                          @() lookup(cumsum(w) / sum(w), rand(T, 1)) + 1, reps, cb)];

  cb = count_callbacks(@() particles_residual(w, T, 1));
  rows = [rows, bench_row('particles_residual', 'n = 1e5, T = 1e6', T, ...
                          @() particles_residual(w, T, 1), ...
                          'repelem(floor) + lookup(cumsum(frac))', ...
                          @() residual_m(w, T), reps, cb)];

  cb = count_callbacks(@() particles_stratified(w, T, 1));
  rows = [rows, bench_row('particles_stratified', 'n = 1e5, T = 1e6', T, ...
                          @() particles_stratified(w, T, 1), ...
                          'lookup(cumsum(w)/sum(w)*T,(0:T-1)''+rand)', ...
                          @() stratified_m(w, T), reps, cb)];

  cb = count_callbacks(@() particles_deterministic(w, T, 1));
  rows = [rows, bench_row('particles_deterministic', 'n = 1e5, T = 1e6', T, ...
                          @() particles_deterministic(w, T, 1), ...
                          'repelem(floor(e) + extra)', ...
                          @() deterministic_m(w, T), reps, cb)];

  cb = count_callbacks(@() particles_systematic(w, T, 1));
  rows = [rows, bench_row('particles_systematic', 'n = 1e5, T = 1e6', T, ...
                          @() particles_systematic(w, T, 1), ...
                          'min(lookup(T*cumsum(w)/sum(w),(0:T-1)''+rand)+1,n)', ...
                          @() min(lookup(T * cumsum(w) / sum(w), (0:T-1)' + rand) + 1, n), ...
                          reps, cb)];
end

function idx = residual_m(w, T)
  e = w / sum(w) * T;
  k = floor(e);
  R = T - sum(k);
  c = cumsum((e - k) / R);
  c(end) = 1;
  idx = [repelem((1:numel(w))', k); lookup(c, rand(R, 1)) + 1];
end

function idx = stratified_m(w, T)
  Q = cumsum(w) / sum(w) * T;
  idx = min(lookup(Q, (0:T-1)' + rand(T, 1)) + 1, numel(w));
end

function idx = deterministic_m(w, T)
  e = w / sum(w) * T;
  k = floor(e);
  extra = diff([0; floor(cumsum(e - k) + 0.5)]);
  idx = repelem((1:numel(w))', k + extra);
end
