function rows = bench_studentt_draw(reps)
  % studentt_draw on 1e6 elements against the normal-over-chi m-code; the
  % closed forms for nu = 1 and 2 against their own m-code.
  n = 1e6;
  nu = 5;
  [cb, blocks] = count_callbacks(@() studentt_draw(nu, n, 1));
  rows = [bench_row('studentt_draw', 'nu = 5, 1e6', n, @() studentt_draw(nu, n, 1), ...
                    'randn(n,1)./sqrt(2*randg(nu/2,n,1)/nu)', ...
                    @() randn(n, 1) ./ sqrt(2 * randg(nu / 2, n, 1) / nu), reps, cb), ...
          bench_row('studentt_draw', 'nu = 5, 1e6, floor', n, @() studentt_draw(nu, n, 1), ...
                    'its randn and rand alone', @() host_floor(blocks), reps, cb)];
  rows = [rows, bench_row('studentt_draw', 'nu = 1, 1e6', n, @() studentt_draw(1, n, 1), ...
                          'randn(n,1)./randn(n,1)', @() randn(n, 1) ./ randn(n, 1), reps, ...
                          count_callbacks(@() studentt_draw(1, n, 1)))];
  rows = [rows, bench_row('studentt_draw', 'nu = 2, 1e6', n, @() studentt_draw(2, n, 1), ...
                          'u=rand(n,1); sqrt(2)*(u-.5)./sqrt(u-u.^2)', ...
                          @() t2(n), reps, count_callbacks(@() studentt_draw(2, n, 1)))];
  nus = 3 + rand(1000, 1000);
  rows = [rows, bench_row('studentt_draw', 'nu array 3..4, 1e6', n, @() studentt_draw(nus), ...
                          'randn(size(nus))./sqrt(2*randg(nus/2)./nus)', ...
                          @() randn(size(nus)) ./ sqrt(2 * randg(nus / 2) ./ nus), reps, ...
                          count_callbacks(@() studentt_draw(nus)))];
  % Alternating "randn" and "rand" elements: on a host with one shared
  % stream one call-back per switch is the least that keeps its order;
  % Octave keeps the two apart, so each comes in its own blocks.
  nus = repmat([1 2 5], 1, 1e4);
  rows = [rows, bench_row('studentt_draw', 'nu = [1 2 5 ...], 3e4', numel(nus), ...
                          @() studentt_draw(nus), 'the three m-codes, masked', ...
                          @() t_mixed(nus), reps, count_callbacks(@() studentt_draw(nus)))];
end

function t = t2(n)
  u = rand(n, 1);
  t = sqrt(2) * (u - 0.5) ./ sqrt(u - u .^ 2);
end

function t = t_mixed(nus)
  t = randn(size(nus));
  one = nus == 1; two = nus == 2; other = !(one | two);
  t(one) = t(one) ./ randn(1, nnz(one));
  u = rand(1, nnz(two));
  t(two) = sqrt(2) * (u - 0.5) ./ sqrt(u - u .^ 2);
  t(other) = t(other) ./ sqrt(2 * randg(nus(other) / 2) ./ nus(other));
end
