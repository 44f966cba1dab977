%!demo
%! ## A beam on its way to the focus of a 0.5 m lens, on a grid that follows it.
%! F = KVBegin (10e-3, 1064e-9, 256);
%! F = KVGaussAperture (2e-3, 0, 0, 1, F);
%! G = KVConvert (KVFocus (0.5, 0.45, F));
%! imagesc (KVIntensity (0, G)); axis image; title ('0.45 m behind the lens, 1 mm grid');

%!test
%! ## The grid shrinks as the beam, and the power stays.
%! F = KVBegin (8e-3, 1e-6, 64);
%! F = KVGaussAperture (1e-3, 0, 0, 1, F);
%! G = KVFocus (0.5, 0.4, F);
%! assert (real (G(1, 65)), 8e-3 * 0.1 / 0.5, 1e-15);
%! assert (real (G(4, 65)), 1 / (0.4 - 0.5), 1e-12);
%! assert (KVPower (G), KVPower (F), 1e-9 * KVPower (F));
%!error <use KVFraunhofer> G = KVFocus (0.5, 0.5, KVBegin (8e-3, 1e-6, 64));
