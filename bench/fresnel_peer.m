function G = fresnel_peer(U, f, lambda, z)
  % The textbook transfer-function code of the Fresnel propagator, in the
  % regime KVFresnelFFT uses for |z| <= zc: the peer its timings compare with.
  [FX, FY] = ndgrid(f, f);
  H = exp(-1i * pi * lambda * z * (FX.^2 + FY.^2));
  G = ifft2(fft2(U) .* H);
end
