function keep = bayesmex_gibbs(data, iters, burn, seed, k)
  % BAYESMEX_GIBBS  Gibbs sampler for a hierarchical normal model.
  %
  %   KEEP = bayesmex_gibbs(DATA, ITERS, BURN)
  %   KEEP = bayesmex_gibbs(DATA, ITERS, BURN, SEED, K)
  %
  %   DATA is n-by-J, column j holding the n observations of group j:
  %     y(i, j) ~ N(theta(j), sigma2),  theta(j) ~ N(mu, tau2),  mu flat,
  %     sigma2 ~ scaled Inv-chi2(nu0 = 2, s0^2 = 1),
  %     tau2 ~ Gamma(alpha = 2, rate beta),  beta ~ Gamma(a0 = 2, rate b0 = 1).
  %   Conditionals: sigma2 scaled inverse chi-square (invchisq_draw1), tau2
  %   generalized inverse Gaussian (hyperscale_draw1), beta gamma
  %   (meanshape_draw1, by mean and degrees of freedom), theta and mu normal
  %   (randn).  The chain starts at the group means.
  %
  %   KEEP is (ITERS - BURN)-by-(J + 4): the draws [theta' mu sigma2 tau2 beta]
  %   of the iterations after the first BURN.  With SEED and K the chain is
  %   chain K of a run seeded with SEED: bayesmex_seed(SEED, K) first, so it
  %   draws the same values serially, under parcellfun or under netcellfun.
  %   Without them it draws from rand and randn as they stand.
  %
  %   Example
  %     randn("state", 1); data = [-1 0 1 2] + randn(50, 4);
  %     keep = bayesmex_gibbs(data, 2000, 400, 7, 1);
  %     mean(keep)        % posterior means of theta, mu, sigma2, tau2, beta
  %
  %   See also bayesmex_seed, bayesmex_chains_demo, bayesmex_demo.
  if nargin >= 5, bayesmex_seed(seed, k); end
  [n, J] = size(data);
  nu0 = 2; s0 = 1; alpha = 2; a0 = 2; b0 = 1;
  ybar = mean(data)';

  theta = ybar; mu = mean(ybar); sigma2 = 1; tau2 = 1; beta = 1;
  keep = zeros(iters - burn, J + 4);
  for it = 1:iters
    % sigma2 | theta: scaled Inv-chi2(nu0 + nJ, (nu0 s0^2 + SSE) / (nu0 + nJ))
    sse = sum(sum((data - theta').^2));
    nun = nu0 + n * J;
    sigma2 = invchisq_draw1((nu0 * s0^2 + sse) / nun, nun);
    % tau2 | theta, mu, beta ∝ tau2^(alpha - J/2 - 1) exp(-S/(2 tau2) - beta tau2):
    % GIG(lambda = alpha - J/2, chi = S, psi = 2 beta) = hyperscale_draw1(S/J, J, 2 alpha, alpha/beta, 1)
    S = sum((theta - mu).^2);
    tau2 = hyperscale_draw1(S / J, J, 2 * alpha, alpha / beta, 1);
    % beta | tau2 ~ Gamma(a0 + alpha, rate b0 + tau2): mean (a0 + alpha)/(b0 + tau2), 2 (a0 + alpha) dof
    beta = meanshape_draw1((a0 + alpha) / (b0 + tau2), 2 * (a0 + alpha));
    % theta | rest: normal, precision n/sigma2 + 1/tau2
    prec = n / sigma2 + 1 / tau2;
    theta = (n * ybar / sigma2 + mu / tau2) / prec + randn(J, 1) / sqrt(prec);
    % mu | theta: N(mean(theta), tau2 / J)
    mu = mean(theta) + sqrt(tau2 / J) * randn();
    if it > burn, keep(it - burn, :) = [theta' mu sigma2 tau2 beta]; end
  end
end
