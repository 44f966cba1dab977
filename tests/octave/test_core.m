%!shared F
%! F = KVBegin(1e-3, 1e-6, 8);

%!test
%! % A fresh field arrives real in Octave and still counts as a field.
%! assert (size (F), [8 9]);
%! assert (F(1:8, 1:8), ones (8));
%! assert (F(1:5, 9).', [1e-3 1e-6 8 0 0]);
%! assert (KVIntensity (0, F), ones (8));
%! assert (KVIntensity (2, F), 255 * ones (8));
%! assert (KVPhase (F), zeros (8));

%!test
%! % Begin -> aperture -> intensity: a circle of radius 2 samples keeps the
%! % 13 samples whose distance from the centre is at most 2 dx.
%! G = KVCircAperture (2 * 1e-3 / 8, 0, 0, F);
%! I = KVIntensity (1, G);
%! [r, c] = find (I);
%! assert (numel (r), 13);
%! assert (max ((r - 5).^2 + (c - 5).^2), 4);
%! S = KVCircScreen (2 * 1e-3 / 8, 0, 0, F);
%! assert (KVIntensity (0, S) + KVIntensity (0, G), ones (8));

%!test
%! % x goes with the column, y with the row.
%! G = KVCircAperture (0, 2e-3 / 8, -1e-3 / 8, F);
%! [r, c] = find (KVIntensity (0, G));
%! assert ([r c], [4 7]);

%!test
%! G = F; G(5, 9) = 3.7;
%! H = KVCircScreen (0, 0, 0, G);
%! assert (H(5, 9), 3);
%! G(5, 9) = -3.7; G(3, 9) = 8.9;
%! H = KVCircScreen (0, 0, 0, G);
%! assert (H(1:5, 9).', [1e-3 1e-6 8 0 -3]);

%!test
%! G = F;
%! G(1:6, 1) = [1; -1; 1i; -1i; 0; NaN];
%! P = KVPhase (G);
%! assert (P(1:6, 1).', [0 pi 1.570796327 4.712388981 1.570796327 NaN]);

%!error <kvbegin expects three input arguments> F = KVBegin (1, 1);
%!error <kvbegin expects one output argument> [A, B] = KVBegin (1, 1, 8);
%!error <Grid dimension must be larger than 8x8 points.> F = KVBegin (1, 1, 7);
%!error <Grid dimension must be larger than 8x8 points.> F = KVBegin (1, 1, NaN);
%!error <Grid dimension must be an even number.> F = KVBegin (1, 1, 9.5);
%!error <Input must be real scalar.> F = KVBegin (1, single (1), 8);
%!error <Input must be real scalar.> F = KVBegin (1, 1i, 8);
%!error <too large> F = KVBegin (1, 1e-6, 1e9);
%!error <expects four input arguments> G = KVCircAperture (1, 0, F);
%!error <Input field is not a Korvane field.> G = KVCircAperture (1, 0, 0, ones (8));
%!error <Input field is not a Korvane field.> G = KVCircAperture (1, 0, 0, single (complex (ones (8, 9), 1)));
%!error <Input must be real scalar.> G = KVCircAperture (1, [0 0], 0, ones (8));
%!error < flag must be 0, 1, or 2> I = KVIntensity (3, KVBegin (1, 1, 8));
%!error <Cannot normalize: Zero beam power.> I = KVIntensity (1, KVCircAperture (0, 1, 1, KVBegin (1, 1, 8)));

%!function check_error (id, msg, f)
%!  try
%!    x = f ();
%!    error ('no error raised');
%!  catch err
%!    assert (err.identifier, id);
%!    assert (err.message, msg);
%!  end
%!endfunction

%!test
%! % Every refusal has an identifier Korvane:<kind>; the message is unchanged.
%! check = @check_error;
%! G = KVBegin (1e-3, 1e-6, 16);
%! check ('Korvane:argCount', 'KVTilt: expects three input arguments', @() KVTilt (1, F));
%! check ('Korvane:notScalar', 'KVTilt: Input must be real scalar.', @() KVTilt (1i, 0, F));
%! check ('Korvane:notField', 'KVTilt: Input field is not a Korvane field.', @() KVTilt (0, 0, ones (8)));
%! check ('Korvane:badArray', ['KVMultPhase: Input phase array must be square and must have ' ...
%!        'equal dimensions as the input field.'], @() KVMultPhase (ones (4), F));
%! check ('Korvane:mismatch', 'KVBeamMix: Unequal grid dimensions.', @() KVBeamMix (F, G));
%! check ('Korvane:badValue', 'KVBegin: Grid dimension must be an even number.', @() KVBegin (1, 1, 9));
%! S = F; S(4, 9) = 1;
%! check ('Korvane:spherical', 'KVLens: No spherical coordinates allowed. Use KVConvert first', ...
%!        @() KVLens (1, 0, 0, S));
%! check ('Korvane:tooLarge', ['KVBegin: Grid dimension too large: the result would not fit ' ...
%!        'in memory.'], @() KVBegin (1, 1, 2^31 - 2));

%!test
%! % The version is found beside the helpers in the build folder.
%! assert (! isempty (regexp (korvane_version (), '^\d+\.\d+\.\d+$', 'once')));
