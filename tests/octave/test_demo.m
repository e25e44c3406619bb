function test_demo()
  % The demo at its quick size checks its own known answers, and draws and
  % prints its figures as `bayesmex_demo` does for a user: each is a PNG
  % with a picture in it, and neither Octave nor gnuplot warns of anything,
  % under the POSIX locale too.  It runs in an Octave of its own, so that
  % gnuplot's messages, which go straight to the process's error stream,
  % are seen; OUT comes back in a file.
  figdir = tempname();
  cleanup = onCleanup(@() remove_folder(figdir));
  mkdir(figdir);
  saved = fullfile(figdir, 'out.mat');
  code = sprintf(['addpath(''%s''); out = bayesmex_demo(3, ''quick'', ''%s''); ' ...
                  'save(''-binary'', ''%s'', ''out'');'], ...
                 fileparts(which('bayesmex_demo')), figdir, saved);
  [status, text] = system(sprintf('LC_ALL=C LANG=C %s --no-gui --norc --no-history --quiet --eval "%s" 2>&1', ...
                                  fullfile(OCTAVE_HOME(), 'bin', 'octave-cli'), code));
  printf('%s', text);
  assert(status == 0, 'the demo failed');
  % What counts is a warning shown to the user: Octave 11 also records
  % warnings that are switched off in lastwarn.
  shown = regexp(text, '^.*warning.*$', 'match', 'lineanchors', 'once');
  assert(isempty(shown), 'the demo warned: %s', shown);
  assert(isempty(regexp(text, '\<NaN\>', 'once')), 'the demo printed NaN');
  for f = {'samplers', 'particle_filter', 'gibbs', 'bootstrap', 'gp_regression'}
    check_png(fullfile(figdir, [f{1} '.png']));
  end
  load(saved, 'out');

  % Each sampler's estimate within 4 standard errors of its exact value.
  s = out.samplers.rows;
  for k = 1:rows(s)
    assert(isfinite(s{k, 6}) && abs(s{k, 6}) < 4, 'sampler %s, %s: %g standard errors', ...
           s{k, 1}, s{k, 2}, s{k, 6});
  end
  assert(out.samplers.max_sum_error < 1e-12);
  f = out.filter;
  assert(all(isfinite(f.loglik)), 'filter log-likelihood not finite');
  assert(max(f.loglik) - min(f.loglik) < 10, 'schemes disagree on the log-likelihood');
  assert(all(f.rmse < f.truth_sd), 'filter no better than the prior');
  g = out.gibbs;
  assert(g.theta_err < 0.1, 'Gibbs theta means off by %g', g.theta_err);
  assert(abs(g.sigma2 - g.sigma2_ref) < 0.05 * g.sigma2_ref, 'Gibbs sigma2 %g vs %g', g.sigma2, g.sigma2_ref);
  b = out.bootstrap;
  assert(abs(b.mean(1) - b.mean(2)) < 4 * b.mean_sd(2) / sqrt(30), 'bootstrap mean');
  assert(abs(b.mean_sd(1) / b.mean_sd(2) - 1) < 0.15, 'bootstrap sd');
  assert(out.metric.distance_error < 1e-12);
  assert(out.metric.gp_rmse < 0.1);
end

function check_png(file)
  % The PNG signature, an IHDR chunk of at least 200 by 100 pixels, and more
  % than a blank canvas's worth of data.
  fid = fopen(file, 'r');
  assert(fid >= 0, 'no figure %s', file);
  bytes = fread(fid, Inf, 'uint8=>double')';
  fclose(fid);
  assert(numel(bytes) > 5000, '%s holds %d bytes', file, numel(bytes));
  assert(isequal(bytes(1:8), [137 80 78 71 13 10 26 10]), '%s is not a PNG', file);
  assert(isequal(char(bytes(13:16)), 'IHDR'), '%s has no IHDR chunk', file);
  size = [256 .^ (3:-1:0) * bytes(17:20)', 256 .^ (3:-1:0) * bytes(21:24)'];
  assert(size(1) >= 200 && size(2) >= 100, '%s is %d by %d pixels', file, size);
end
