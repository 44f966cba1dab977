% The peer of KVMode: the largest eigenvalue beta^2 of the 5-point
% finite-difference Helmholtz operator laplacian + k0^2*n^2 on the N x N
% grid (periodic, as the grid of KVMode), by eigs in shift-invert mode about
% (k0*max(n))^2; neff = sqrt(beta^2)/k0.
function neff = mode_peer(n, d, lambda)
  N = rows(n);
  k0 = 2 * pi / lambda;
  e = ones(N, 1);
  D = spdiags([e, -2 * e, e], -1:1, N, N);
  D(1, N) = 1; D(N, 1) = 1;
  I = speye(N);
  A = (kron(I, D) + kron(D, I)) / d^2 + spdiags(k0^2 * n(:).^2, 0, N * N, N * N);
  sigma = (k0 * max(n(:)))^2;
  b2 = eigs(A, 1, sigma);
  neff = sqrt(b2) / k0;
end
