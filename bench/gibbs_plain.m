function keep = gibbs_plain(data, iters, burn)
  % bayesmex_gibbs in plain Octave: the same hierarchical normal model, the
  % same conditionals in the same order, with the m-code a user writes in
  % place of each bayesmex draw:
  %   invchisq_draw1(s2, nu)          -> nu*s2/(2*randg(nu/2))
  %   hyperscale_draw1(S/J, J, 2 alpha, alpha/beta, 1), the generalized
  %                                      inverse Gaussian GIG(alpha - J/2, S, 2 beta)
  %                                   -> gig_draw (ratio of uniforms)
  %   meanshape_draw1(mean, 2 (a0 + alpha)) -> randg(a0 + alpha)/(b0 + tau2)
  % The gamma draws of bayesmex (Best's method on uniforms) and Octave's
  % randg (Marsaglia and Tsang's, on normals and uniforms) are different
  % algorithms, so the two chains agree in law, not draw for draw.
  [n, J] = size(data);
  nu0 = 2; s0 = 1; alpha = 2; a0 = 2; b0 = 1;
  ybar = mean(data)';

  theta = ybar; mu = mean(ybar); sigma2 = 1; tau2 = 1; beta = 1;
  keep = zeros(iters - burn, J + 4);
  for it = 1:iters
    sse = sum(sum((data - theta').^2));
    nun = nu0 + n * J;
    sigma2 = (nu0 * s0^2 + sse) / (2 * randg(nun / 2));
    S = sum((theta - mu).^2);
    tau2 = gig_draw(alpha - J / 2, S, 2 * beta);
    beta = randg(a0 + alpha) / (b0 + tau2);
    prec = n / sigma2 + 1 / tau2;
    theta = (n * ybar / sigma2 + mu / tau2) / prec + randn(J, 1) / sqrt(prec);
    mu = mean(theta) + sqrt(tau2 / J) * randn();
    if it > burn, keep(it - burn, :) = [theta' mu sigma2 tau2 beta]; end
  end
end
