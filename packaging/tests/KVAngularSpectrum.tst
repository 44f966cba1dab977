%!demo
%! ## Exact scalar propagation of a small hole: close to the aperture the
%! ## angular spectrum and the Fresnel approximation part.
%! F = KVPad (256, KVCircAperture (20e-6, 0, 0, KVBegin (100e-6, 633e-9, 128)));
%! A = KVAngularSpectrum (100e-6, F);
%! R = KVFresnelFFT (100e-6, F);
%! subplot (1, 2, 1); imagesc (KVIntensity (0, A)); axis image off; title ('KVAngularSpectrum');
%! subplot (1, 2, 2); imagesc (KVIntensity (0, R)); axis image off; title ('KVFresnelFFT');

%!test
%! ## Paraxial light: the same as KVFresnelFFT up to the constant phase
%! ## exp(i*k*z); there and back restores the field.
%! F = KVPad (128, KVGaussAperture (0.5e-3, 0, 0, 1, KVBegin (4e-3, 633e-9, 64)));
%! A = KVAngularSpectrum (0.2, F);
%! R = KVFresnelFFT (0.2, F);
%! assert (abs (A(:, 1:128)), abs (R(:, 1:128)), 1e-3);
%! B = KVAngularSpectrum (-0.2, A);
%! assert (B(:, 1:128), F(:, 1:128), 1e-9);
