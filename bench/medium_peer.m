% The textbook split step in vectorised Octave, the peer of KVMedium: per
% step a half step of angular-spectrum diffraction at the reference index
% (the largest of n), the refraction phase, and the other half step, each
% half step an fft2/ifft2 pair.
function U = medium_peer(U, n, z, steps, lambda, L)
  N = rows(U);
  k0 = 2 * pi / lambda;
  dz = z / steps;
  nref = max(real(n(:)));
  f = [0:floor(N / 2), -ceil(N / 2) + 1:-1] / L;
  [fx, fy] = meshgrid(f);
  kz = sqrt((k0 * nref)^2 - (2 * pi)^2 * (fx.^2 + fy.^2));
  H = exp(1i * (kz - k0) * dz / 2);
  V = exp(1i * k0 * (n - nref) * dz);
  for s = 1:steps
    U = ifft2(H .* fft2(U));
    U = V .* U;
    U = ifft2(H .* fft2(U));
  end
end
